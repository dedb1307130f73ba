# Sourced by the end-to-end scripts: a scratch folder, zr410-sim on a pseudo-terminal, the
# tool pointed at it, and byte helpers. The script sets case_name, cli and sim first, and may
# set the array sim_defaults to options every start of the simulator gets.
# With QM_WINE_PREFIX set, cli is the Windows tool run under Wine: the simulator's terminal is
# then linked in as COM7 of that Wine prefix, and the tool opens COM7.

work=$(mktemp -d)
link=$work/radio
device=$link
if [ -n "${QM_WINE_PREFIX:-}" ]; then
  link=$QM_WINE_PREFIX/dosdevices/com7
  device=COM7
fi
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# One byte per line, in decimal.
bytes_of() { od -An -v -tu1 -w1 "$1" | tr -d ' '; }

# The image inside a data file, one byte per line (QM_DUMP_CLI: a quicker tool for it).
image_of() { "${QM_DUMP_CLI:-$cli}" dump "$1" | cut -c6- | tr ' ' '\n' | grep -v '^$' | while read -r h; do echo $((16#$h)); done; }

# Whether two data files are the same bytes but for their images' write date: a new image is
# stamped with the time of its making to the second, so two runs may straddle a second. Every
# byte that differs lies in the first file's 14 date digits (row 0x3C0 of its image).
same_but_write_date() {  # a b
  [ "$(stat -c %s "$1")" = "$(stat -c %s "$2")" ] || return 1
  local digits="" h at
  for h in $("${QM_DUMP_CLI:-$cli}" dump "$1" | sed -n 's/^3C0://p' | cut -d' ' -f2-15); do
    digits+=$(printf "\\x$h")
  done
  at=$(grep -obaF "$digits" "$1" | cut -d: -f1)
  [ -n "$at" ] && [ "$(echo "$at" | wc -l)" = 1 ] || return 1
  { cmp -l "$1" "$2" || true; } |
    awk -v lo=$((at + 1)) -v hi=$((at + 14)) '$1 < lo || $1 > hi { bad = 1 } END { exit bad }'
}

start_sim() {  # extra sim options...
  rm -f "$link"
  "$sim" --link "$link" --log "$work/sim.log" "${sim_defaults[@]}" "$@" \
    >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && [ -e "$link" ] && return 0
    sleep 0.02
  done
  fail "simulator did not start: $(cat "$work/sim.err")"
}

stop_sim() {
  kill -TERM "$sim_pid"
  wait "$sim_pid" || true
  sim_pid=""
}

run_cli() {  # verb args...
  "$cli" --ini "$work/program.ini" "$@" --device "$device"
}
