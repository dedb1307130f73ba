#!/usr/bin/env bash
# Reads and writes a full image through qm830k-cli against zr410-sim pacing the line at
# 9600 baud, and compares the time with the floor that the fixed waits, the poll intervals
# and the line time allow (bench/link_floor.cpp computes it with the same link code on a
# virtual clock).
#   bench/radio_link.sh [ROUNDS]      (BUILD_DIR, default build)
# The link's own time is the span the simulator's log shows, from the first frame it receives
# to the last it sends: the tool's start-up (Wine's, for the Windows tool) is not in it. CPU is
# the tool's user and system time over that span, with the start-up's CPU (a read from a
# missing device, which stops at the port open) taken off; for the Windows tool it includes
# the Wine server's. With WINDOWS_BUILD_DIR set (a Windows build of scripts/test-windows),
# that build's qm830k-cli.exe is measured too, under Wine through COM8 of a prefix of its own
# linked to the simulator's terminal, in the same run as the Linux tool.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
rounds=${1:-1}
cmake --build "$BUILD_DIR" --target qm830k-cli zr410-sim qm830k_core >/dev/null 2>&1 ||
  echo "bench: the build failed; using the programs already in $BUILD_DIR" >&2

work=$(mktemp -d)
sim_pid=""
prefix=""
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  if [ -n "$prefix" ]; then
    WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true
    WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

c++ -std=c++20 -O2 -Isrc bench/link_floor.cpp "$BUILD_DIR/libqm830k_core.a" -o "$work/link_floor"
read -r _ floor_read span_read < <("$work/link_floor" | grep '^read')
read -r _ floor_write span_write < <("$work/link_floor" | grep '^write')
echo "floor: read $floor_read ms (first to last frame $span_read ms), write $floor_write ms ($span_write ms)"

tools=(linux)
linux_cli=$BUILD_DIR/qm830k-cli
linux_device=$work/radio
if [ -n "${WINDOWS_BUILD_DIR:-}" ]; then
  qt=$(scripts/build-qt-windows | tail -n 1)
  prefix=$work/wine
  cat >"$work/cli.exe.sh" <<EOF
#!/usr/bin/env bash
exec "$PWD/cmake/wine-run" "$prefix" "$qt/bin" "$(realpath "$WINDOWS_BUILD_DIR")/qm830k-cli.exe" "\$@"
EOF
  chmod +x "$work/cli.exe.sh"
  # The prefix and its session are made before anything is timed (cmake/wine-run keeps the
  # session while runs follow), so that no run pays for Wine's services starting anew.
  "$work/cli.exe.sh" --help >/dev/null
  cmake/wine-unlink-ports "$prefix" --check
  server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
  for p in $(pgrep -x wineserver64 || true); do
    case "$(readlink "/proc/$p/cwd" || true)" in */"$server_dir") server_pid=$p ;; esac
  done
  [ -n "${server_pid:-}" ] || { echo "bench: no Wine server for $prefix" >&2; exit 1; }
  tools+=(windows)
fi
"$linux_cli" --ini "$work/program.ini" new -o "$work/image.q83" >/dev/null

# The simulator's terminal is linked where both tools find it.
"$BUILD_DIR/zr410-sim" --link "$linux_device" --pace --load "$work/image.q83" --log "$work/sim.log" \
  >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.02; done
[ -z "$prefix" ] || ln -sfn "$(readlink "$linux_device")" "$prefix/dosdevices/com8"

ticks=$(getconf CLK_TCK)
server_cpu() {  # the Wine server's CPU time in ms (0 without one)
  if [ -n "${server_pid:-}" ]; then
    awk -v t="$ticks" '{ printf "%.0f", ($14 + $15) * 1000 / t }' "/proc/$server_pid/stat"
  else
    echo 0
  fi
}
run() {  # tool verb args...: prints "wall_ms cpu_ms"; verb "none" is a read from a missing port
  local tool=$1 cli device before out status=0 must=1
  shift
  if [ "$tool" = linux ]; then cli=$linux_cli device=$linux_device; else cli=$work/cli.exe.sh device=COM8; fi
  if [ "$1" = none ]; then
    if [ "$tool" = linux ]; then device=$work/no-such-port; else device=COM99; fi
    set -- read -o "$work/none.q83"
    must=0
  fi
  before=$(server_cpu)
  out=$( { TIMEFORMAT='%R %U %S'; time "$cli" --ini "$work/program.ini" "$@" --device "$device" --yes \
    >/dev/null 2>"$work/cli.err"; } 2>&1 ) || status=$?
  if [ "$status" -ne 0 ] && [ "$must" = 1 ]; then
    cat "$work/cli.err" >&2
    exit 1
  fi
  awk -v s="$(($(server_cpu) - before))" '{ printf "%.1f %.1f\n", $1 * 1000, ($2 + $3) * 1000 + s }' <<<"$out"
}
span() {  # the first to the last frame of the simulator's log from line $1 on, in ms
  awk -v from="$1" 'NR >= from && /PC>|<R/ { if (first == "") first = $1; if (/<R/) last = $1 }
    END { printf "%.1f", last - first }' "$work/sim.log"
}

for tool in "${tools[@]}"; do
  # The start-up: the best of three runs that stop at the port open.
  startup_cpu=""
  for _ in 1 2 3; do
    res=$(run "$tool" none)
    read -r _ c <<<"$res"
    if [ -z "$startup_cpu" ] || awk -v a="$c" -v b="$startup_cpu" 'BEGIN { exit !(a < b) }'; then startup_cpu=$c; fi
  done
  echo "$tool: start-up CPU $startup_cpu ms (best of 3)"
  for ((r = 1; r <= rounds; r++)); do
    for verb in read write; do
      from=$(($(wc -l <"$work/sim.log") + 1))
      if [ "$verb" = read ]; then
        res=$(run "$tool" read -o "$work/read.q83")
        floor=$span_read
      else
        res=$(run "$tool" write "$work/image.q83")
        floor=$span_write
      fi
      read -r wall cpu <<<"$res"
      awk -v n="$tool $verb" -v w="$wall" -v s="$(span "$from")" -v f="$floor" -v c="$cpu" -v c0="$startup_cpu" 'BEGIN {
        printf "%-13s link %7.1f ms  floor %7.1f ms  over floor %+5.2f %%  cpu %6.1f ms (%5.2f %% of the link'"'"'s time)  whole run %7.1f ms, cpu %6.1f ms (%5.2f %%)\n",
          n, s, f, 100 * (s - f) / f, c - c0, 100 * (c - c0) / s, w, c, 100 * c / w }'
    done
  done
done
