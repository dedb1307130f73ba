#!/usr/bin/env bash
# End-to-end checks of the write options of qm830k-cli against zr410-sim over a
# pseudo-terminal. Usage: extras_cli.sh CASE CLI SIM
#   verify   --verify reads back the written blocks; a radio that stores a wrong byte
#            (--corrupt) fails with the address and no completion message
#   backup   --backup saves the radio as it was before the write, named after its ID
#   trace    --trace logs every frame with time, direction and hex
#   fleet    --fleet writes radio after radio on Enter, with a line each, a log and a summary;
#            --auto starts on its own when a radio answers
set -euo pipefail
case_name=$1
cli=$2
sim=$3

sim_defaults=(--model 12)
# shellcheck source=sim_rig.sh
source "$(dirname "$0")/sim_rig.sh"

# A 1024-byte image with a pattern, the radio ID "$2" at 0x3E0.
make_radio() {  # file id
  LC_ALL=C awk 'BEGIN { for (i = 0; i < 1024; i++) printf "%c", (i * 7 + 11) % 256 }' >"$1"
  { printf '%s' "$2"; head -c $((16 - ${#2})) /dev/zero; } |
    dd of="$1" bs=1 seek=$((0x3E0)) conv=notrunc status=none
}

# A data file for the model the simulator reports (code 12).
"$cli" --ini "$work/program.ini" new -o "$work/file.q83" --model-code 12 >/dev/null 2>&1 ||
  fail "preparing the file"

case "$case_name" in
verify)
  make_radio "$work/radio.bin" "VERIFY-1"
  start_sim --load "$work/radio.bin"
  run_cli write "$work/file.q83" --verify 2>"$work/cli.err" ||
    fail "verified write failed: $(cat "$work/cli.err")"
  grep -q "写频完成，回读校验无误" "$work/cli.err" || fail "no verified completion: $(cat "$work/cli.err")"
  [ "$(grep -c 'PC>  52 ' "$work/sim.log")" -eq 38 ] || fail "expected 38 read-back requests"
  stop_sim

  start_sim --load "$work/radio.bin" --corrupt 0x2B3
  if run_cli write "$work/file.q83" --verify 2>"$work/cli.err"; then
    fail "a radio that stores a wrong byte passed verification"
  fi
  grep -q "\[校验错误\].*写频校验失败" "$work/cli.err" || fail "no mismatch message: $(cat "$work/cli.err")"
  grep -q "0x2B0: 写入 " "$work/cli.err" || fail "mismatch without its address"
  if grep -q "写频完成，" "$work/cli.err"; then fail "a failed verification was announced as done"; fi
  stop_sim

  # Without --verify the same radio reports the plain completion: the option is off by default.
  start_sim --load "$work/radio.bin" --corrupt 0x2B3
  run_cli write "$work/file.q83" 2>"$work/cli.err" || fail "plain write failed"
  grep -q "写频完成，请按" "$work/cli.err" || fail "no plain completion"
  [ "$(grep -c 'PC>  52 ' "$work/sim.log")" -eq 0 ] || fail "a plain write read back"
  stop_sim
  ;;
backup)
  make_radio "$work/radio.bin" "BK-7"
  start_sim --load "$work/radio.bin" --dump "$work/after.bin"
  run_cli write "$work/file.q83" --backup "$work/backups" 2>"$work/cli.err" ||
    fail "write with backup failed: $(cat "$work/cli.err")"
  stop_sim
  shopt -s nullglob
  files=("$work"/backups/BK-7_*.q83)
  [ "${#files[@]}" -eq 1 ] || fail "expected one backup file, got: $(ls "$work/backups" 2>&1)"
  [[ "$(basename "${files[0]}")" =~ ^BK-7_[0-9]{8}-[0-9]{6}\.q83$ ]] || fail "backup name ${files[0]}"
  diff <(bytes_of "$work/radio.bin") <(image_of "${files[0]}") >/dev/null ||
    fail "the backup is not the radio's memory before the write"
  grep -q "备份: ${files[0]}" "$work/cli.err" || fail "backup path not reported"
  grep -q "写频完成，请按" "$work/cli.err" || fail "no completion after the backup"
  # The write happened after the backup: the radio now holds the file's channel area.
  diff <(bytes_of "$work/after.bin" | head -256) <(image_of "$work/file.q83" | head -256) >/dev/null ||
    fail "the radio does not hold the file's channels"
  ;;
trace)
  make_radio "$work/radio.bin" "TR"
  start_sim --load "$work/radio.bin"
  run_cli write "$work/file.q83" --trace "$work/trace.log" 2>"$work/cli.err" ||
    fail "traced write failed: $(cat "$work/cli.err")"
  stop_sim
  head -1 "$work/trace.log" | grep -q '^# qm830k-cli [0-9-]* [0-9:]*$' || fail "no trace header"
  grep -q '^ *[0-9]*\.[0-9]\{3\} ms -- open COM1 9600,N,8,2$' "$work/trace.log" || fail "no open line"
  grep -q ' ms TX  02 50 52 4F 47 52 41 4D$' "$work/trace.log" || fail "no greeting frame"
  grep -q ' ms RX  06$' "$work/trace.log" || fail "no acknowledge"
  [ "$(grep -c ' ms TX  57 ' "$work/trace.log")" -eq 38 ] || fail "expected 38 write frames in the trace"
  grep -q ' ms TX  45 4E 44$' "$work/trace.log" || fail "no END"
  # Appended, not replaced: a second run adds its own header.
  start_sim --load "$work/radio.bin"
  run_cli read -o "$work/r.q83" --trace "$work/trace.log" 2>/dev/null || fail "traced read failed"
  stop_sim
  [ "$(grep -c '^# qm830k-cli' "$work/trace.log")" -eq 2 ] || fail "trace not appended"
  [ "$(grep -c ' ms TX  52 ' "$work/trace.log")" -eq 128 ] || fail "expected 128 read requests"
  # The tune verbs take the option too.
  start_sim --load "$work/radio.bin"
  run_cli tune-show --trace "$work/tune.log" >/dev/null 2>&1 || fail "traced tune-show failed"
  stop_sim
  grep -q ' ms TX  02 50 52 4F 47 52 41 4D$' "$work/tune.log" || fail "no greeting in the tune trace"
  grep -q ' ms -- close$' "$work/tune.log" || fail "no close in the tune trace"
  ;;
fleet)
  make_radio "$work/radio.bin" "FLEET-01"
  start_sim --load "$work/radio.bin"
  printf '\n\nq\n' | run_cli write "$work/file.q83" --fleet --verify --log "$work/fleet.csv" \
    >"$work/cli.out" 2>"$work/cli.err" || fail "fleet run failed: $(cat "$work/cli.out" "$work/cli.err")"
  grep -q '^#1  ID FLEET-01  机型代码 12  版本 2.0  成功  ' "$work/cli.out" || fail "no line for radio 1: $(cat "$work/cli.out")"
  grep -q '^#2  ID FLEET-01  机型代码 12  版本 2.0  成功  ' "$work/cli.out" || fail "no line for radio 2"
  grep -q '^共2台：成功2台，失败0台$' "$work/cli.out" || fail "no summary"
  [ "$(wc -l <"$work/fleet.csv")" -eq 3 ] || fail "log should have a header and two rows"
  head -1 "$work/fleet.csv" | grep -q '序号,对讲机ID,机型代码,版本,结果,时间,用时(秒)' || fail "log header"
  grep -q '^2,FLEET-01,12,2.0,成功,' "$work/fleet.csv" || fail "log row 2"
  stop_sim

  # A radio that stores a wrong byte: the line says so, the run ends with exit code 1, and the
  # log is appended to.
  start_sim --load "$work/radio.bin" --corrupt 0x010
  if printf '\nq\n' | run_cli write "$work/file.q83" --fleet --verify --log "$work/fleet.csv" \
    >"$work/cli.out" 2>"$work/cli.err"; then
    fail "a fleet with a failed radio ended with success"
  fi
  grep -q '^#1  ID FLEET-01  .*  校验失败  ' "$work/cli.out" || fail "no failure line: $(cat "$work/cli.out")"
  grep -q '^共1台：成功0台，失败1台（#1）$' "$work/cli.out" || fail "no failure summary"
  [ "$(wc -l <"$work/fleet.csv")" -eq 4 ] || fail "log not appended"
  stop_sim

  # --auto: the run starts when the radio answers (stdin stays open and silent).
  start_sim --load "$work/radio.bin"
  run_cli write "$work/file.q83" --fleet --auto --count 1 < <(sleep 30) >"$work/cli.out" 2>"$work/cli.err" ||
    fail "auto fleet failed: $(cat "$work/cli.out" "$work/cli.err")"
  grep -q '^#1  ID FLEET-01  机型代码 12  版本 2.0  成功  ' "$work/cli.out" || fail "no auto line: $(cat "$work/cli.out")"
  stop_sim

  # No radio on the line, and no port at all: the line says which.
  start_sim --silent
  if printf '\nq\n' | run_cli write "$work/file.q83" --fleet >"$work/cli.out" 2>"$work/cli.err"; then
    fail "a fleet with a silent radio ended with success"
  fi
  grep -q '^#1  ID -  机型代码 -  版本 -  无响应  ' "$work/cli.out" || fail "no no-answer line: $(cat "$work/cli.out")"
  grep -q '通讯端口错误' "$work/cli.err" || fail "no port message: $(cat "$work/cli.err")"
  stop_sim
  if printf '\nq\n' | "$cli" --ini "$work/program.ini" write "$work/file.q83" --fleet \
    --device "$work/missing" >"$work/cli.out" 2>"$work/cli.err"; then
    fail "a fleet without a radio ended with success"
  fi
  grep -q '^#1  ID -  机型代码 -  版本 -  端口错误  ' "$work/cli.out" || fail "no port line: $(cat "$work/cli.out")"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok: $case_name"
