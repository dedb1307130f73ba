#!/usr/bin/env bash
# End-to-end checks of the tune verbs of qm830k-cli against zr410-sim over a pseudo-terminal.
# Usage: tune_cli.sh CASE CLI SIM
#   show    tune-show prints the radio's tune channel table and item values and leaves
#   adjust  tune-adjust --store leaves the value in the radio's memory at 0x2F0 + item index;
#           without --store the radio's value stays
#   write   tune-write puts a data file's tune channel table into the radio, nothing else
#   faults  an item reply with one byte too many fails the trial value
set -euo pipefail
case_name=$1
cli=$2
sim=$3

sim_defaults=()
# shellcheck source=sim_rig.sh
source "$(dirname "$0")/sim_rig.sh"
sim_defaults=(--load "$work/radio.bin" --dump "$work/after.bin")

# A 1024-byte image: tune channel 3 on at 146.0125 MHz with CTC 67.0 on its transmit side,
# tune item values 32..38, and every other byte zero.
make_image() {
  LC_ALL=C awk 'BEGIN {
    split("66 91 12 0 0 66 91 60 112 6 0 0 0 0 1 0", ch, " ")
    for (i = 0; i < 1024; i++) {
      v = 0
      if (i >= 288 && i < 304) v = ch[i - 288 + 1]
      if (i >= 752 && i < 759) v = 32 + i - 752
      printf "%c", v
    }
  }' >"$1"
}

byte_at() { bytes_of "$1" | sed -n "$(($2 + 1))p"; }

make_image "$work/radio.bin"
case "$case_name" in
show)
  start_sim
  run_cli tune-show >"$work/out" 2>"$work/cli.err" || fail "tune-show failed: $(cat "$work/cli.err")"
  stop_sim
  grep -Eq '^3 +146\.01250 +6\.25 +OFF +146\.01250 +6\.25 +CTC 67\.0 +- \*$' "$work/out" ||
    fail "channel 3 not shown: $(cat "$work/out")"
  grep -Eq '^1 +.*关闭$' "$work/out" || fail "channel 1 not shown switched off"
  grep -Eq '^CTCDevN +37 ' "$work/out" || fail "item values not shown"
  grep -q "tune: left" "$work/sim.log" || fail "tune mode not left"
  ;;
adjust)
  start_sim
  run_cli tune-adjust --item CTCDevW --channel 3 --value 171 --store >"$work/out" 2>"$work/cli.err" ||
    fail "tune-adjust failed: $(cat "$work/cli.err")"
  grep -q "CTCDevW channel 3: 171 stored" "$work/out" || fail "no confirmation"
  run_cli tune-adjust --item SqlOpen --channel 3 --value 99 >/dev/null 2>"$work/cli.err" ||
    fail "tune-adjust without --store failed: $(cat "$work/cli.err")"
  stop_sim
  [ "$(byte_at "$work/after.bin" $((0x2F3)))" -eq 171 ] || fail "CTCDevW not stored at 0x2F3"
  [ "$(byte_at "$work/after.bin" $((0x2F2)))" -eq 34 ] || fail "SqlOpen changed without --store"
  [ "$(byte_at "$work/after.bin" $((0x2F5)))" -eq 37 ] || fail "CTCDevN changed"
  grep -q "tune: signalling 20 70 06" "$work/sim.log" || fail "no signalling frame"
  [ "$(grep -c "tune: left" "$work/sim.log")" -eq 2 ] || fail "tune mode not left twice"
  ;;
write)
  "$cli" --ini "$work/program.ini" new -o "$work/file.q83" --model 3 || fail "preparing the file"
  start_sim
  run_cli tune-write "$work/file.q83" >"$work/out" 2>"$work/cli.err" ||
    fail "tune-write failed: $(cat "$work/cli.err")"
  stop_sim
  mapfile -t file < <(image_of "$work/file.q83")
  mapfile -t old < <(bytes_of "$work/radio.bin")
  mapfile -t new < <(bytes_of "$work/after.bin")
  [ "${#new[@]}" -eq 1024 ] || fail "no memory dump"
  for ((a = 0; a < 1024; a++)); do
    if ((a >= 0x100 && a < 0x1B0)); then
      [ "${new[a]}" -eq "${file[a]}" ] || fail "address $a: ${new[a]}, expected the file's ${file[a]}"
    else
      [ "${new[a]}" -eq "${old[a]}" ] || fail "address $a changed"
    fi
  done
  [ "$(grep -c 'PC>  57 01 ' "$work/sim.log")" -eq 22 ] || fail "expected 22 write blocks"
  ;;
faults)
  start_sim --tune-item-extra
  if run_cli tune-adjust --item DCSDevW --channel 3 --value 5 --store >/dev/null 2>"$work/cli.err"; then
    fail "an over-long item reply was accepted"
  fi
  grep -q "\[调测错误\].*连接中断，请重试！" "$work/cli.err" || fail "no link message: $(cat "$work/cli.err")"
  stop_sim
  [ "$(byte_at "$work/after.bin" $((0x2F4)))" -eq 36 ] || fail "DCSDevW was stored"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok: $case_name"
