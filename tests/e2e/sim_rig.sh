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
