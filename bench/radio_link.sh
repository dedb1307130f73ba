#!/usr/bin/env bash
# Reads and writes a full image through qm830k-cli against zr410-sim pacing the line at
# 9600 baud, and compares the wall time with the floor that the fixed waits, the poll
# intervals and the line time allow (bench/link_floor.cpp computes it with the same link
# code on a virtual clock). Prints wall and CPU time of the tool for each operation.
#   bench/radio_link.sh [ROUNDS]      (BUILD_DIR, default build)
# With WINDOWS_BUILD_DIR set (a Windows build of scripts/test-windows), the tool measured is
# that build's qm830k-cli.exe under Wine, through COM8 of a Wine prefix linked to the
# simulator's terminal; its start-up then includes Wine's.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
rounds=${1:-1}
cmake --build "$BUILD_DIR" --target qm830k-cli zr410-sim qm830k_core >/dev/null 2>&1 ||
  echo "bench: the build failed; using the programs already in $BUILD_DIR" >&2

work=$(mktemp -d)
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  if [ -n "${prefix:-}" ]; then WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

c++ -std=c++20 -O2 -Isrc bench/link_floor.cpp "$BUILD_DIR/libqm830k_core.a" -o "$work/link_floor"
read -r _ floor_read < <("$work/link_floor" | grep '^read')
read -r _ floor_write < <("$work/link_floor" | grep '^write')

cli="$BUILD_DIR/qm830k-cli"
link=$work/radio
device=$link
if [ -n "${WINDOWS_BUILD_DIR:-}" ]; then
  qt=$(scripts/build-qt-windows | tail -n 1)
  prefix=$work/wine
  cat >"$work/cli.exe.sh" <<EOF
#!/usr/bin/env bash
exec "$PWD/cmake/wine-run" "$prefix" "$qt/bin" "$(realpath "$WINDOWS_BUILD_DIR")/qm830k-cli.exe" "\$@"
EOF
  chmod +x "$work/cli.exe.sh"
  cli=$work/cli.exe.sh
  "$cli" --help >/dev/null  # the prefix is made once, before anything is timed
  link=$prefix/dosdevices/com8
  device=COM8
  echo "the Windows tool under Wine, through COM8"
fi
"$cli" --ini "$work/program.ini" new -o "$work/image.q83" >/dev/null

"$BUILD_DIR/zr410-sim" --link "$link" --pace --load "$work/image.q83" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.02; done

ticks=$(getconf CLK_TCK)
sim_cpu() { awk -v t="$ticks" '{ printf "%.3f", ($14 + $15) / t }' "/proc/$sim_pid/stat"; }

# The tool's own start-up (libraries, configuration), measured as a read from a missing
# device, which stops at the port open; it is reported apart from the link's own time.
startup_ms() {
  local best=""
  for _ in 1 2 3; do
    local t
    t=$( { TIMEFORMAT='%R'; time "$cli" --ini "$work/program.ini" read -o "$work/none.q83" \
      --device "$work/no-such-port" >/dev/null 2>&1 || true; } 2>&1 )
    t=$(awk '{ printf "%.1f", $1 * 1000 }' <<<"$t")
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}
startup=$(startup_ms)
echo "start-up of qm830k-cli: $startup ms (best of 3)"

measure() {  # name floor_ms verb args...
  local name=$1 floor=$2
  shift 2
  local out
  for ((r = 1; r <= rounds; r++)); do
    local sim_before
    sim_before=$(sim_cpu)
    out=$( { TIMEFORMAT='%R %U %S'; time "$cli" --ini "$work/program.ini" "$@" \
      --device "$device" --yes >/dev/null 2>"$work/cli.err"; } 2>&1 ) ||
      { cat "$work/cli.err"; exit 1; }
    local sim_after
    sim_after=$(sim_cpu)
    awk -v n="$name" -v f="$floor" -v sb="$sim_before" -v sa="$sim_after" -v su="$startup" '{
      wall = $1 * 1000; cpu = ($2 + $3) * 1000; fl = f + 0
      printf "%-5s wall %7.1f ms  floor %7.1f ms  over floor %+5.2f %% (%+5.2f %% without start-up)  cpu %5.1f ms (%4.2f %% of wall)  sim cpu %5.1f ms\n",
        n, wall, fl, 100 * (wall - fl) / fl, 100 * (wall - su - fl) / fl, cpu, 100 * cpu / wall,
        (sa - sb) * 1000 }' <<<"$out"
  done
}

measure read "$floor_read" read -o "$work/read.q83"
measure write "$floor_write" write "$work/image.q83"
