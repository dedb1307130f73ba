#!/usr/bin/env bash
# End-to-end checks of qm830k-cli against zr410-sim over a pseudo-terminal, through the real
# serial port code. Usage: radio_cli.sh CASE CLI SIM
#   read    the file read from the radio holds the radio's memory, as does the copy kept in
#           the history folder; a relative --device path without "./" opens
#   write   the radio then holds the file's channels, functions, identification and a fresh
#           write date, and nothing else changed
#   embed   a text written with embed-write reads back with embed-read
#   faults  a radio of another kind and a short reply fail with their messages
#   paced   reads and writes in a row (QM_E2E_ROUNDS of each, default 1) against a radio that
#           paces its bytes as the line does: each read gives the radio's memory
#   idtext  a radio ID padded with zeros prints as text, control characters in the embedded
#           fields never reach the terminal, and a model code missing from the table is
#           reported as unknown
set -euo pipefail
case_name=$1
cli=$2
sim=$3

sim_defaults=()
# shellcheck source=sim_rig.sh
source "$(dirname "$0")/sim_rig.sh"

# A 1024-byte image whose every byte depends on its address and a seed.
make_image() {  # seed file
  LC_ALL=C awk -v seed="$1" 'BEGIN { for (i = 0; i < 1024; i++) printf "%c", (i * 7 + seed + int(i / 256)) % 256 }' >"$2"
}

case "$case_name" in
read)
  make_image 17 "$work/radio.bin"
  start_sim --load "$work/radio.bin" --version 2.3
  if [ -n "${QM_WINE_PREFIX:-}" ]; then
    run_cli read -o "$work/read.q83" 2>"$work/cli.err" || fail "read failed: $(cat "$work/cli.err")"
  else
    # The device as a path relative to the working folder, as a user types it.
    (cd "$(dirname "$work")" && "$cli" --ini "$work/program.ini" read -o "$work/read.q83" \
      --device "$(basename "$work")/radio") 2>"$work/cli.err" ||
      fail "read failed: $(cat "$work/cli.err")"
  fi
  stop_sim
  kept=("$work"/history/*.q83)
  [ "${#kept[@]}" -eq 1 ] && [ -e "${kept[0]}" ] || fail "expected one read kept in the history folder"
  diff <(bytes_of "$work/radio.bin") <(image_of "${kept[0]}") >/dev/null ||
    fail "the kept read differs from the radio's memory"
  grep -q "读频完成，请按“确定”按钮继续" "$work/cli.err" || fail "no completion message"
  diff <(bytes_of "$work/radio.bin") <(image_of "$work/read.q83") >/dev/null ||
    fail "the file's image differs from the radio's memory"
  [ "$(grep -c 'PC>  52 ' "$work/sim.log")" -eq 128 ] || fail "expected 128 read requests"
  ;;
write)
  "$cli" --ini "$work/program.ini" new -o "$work/file.q83" --model 2 || fail "preparing the file"
  make_image 3 "$work/radio.bin"
  start_sim --load "$work/radio.bin" --dump "$work/after.bin" --version 2.5
  before=$(date +%Y%m%d%H%M%S)
  run_cli write "$work/file.q83" --yes 2>"$work/cli.err" || fail "write failed: $(cat "$work/cli.err")"
  after=$(date +%Y%m%d%H%M%S)
  stop_sim
  grep -q "写频完成，请按“确定”按钮继续" "$work/cli.err" || fail "no completion message"
  mapfile -t file < <(image_of "$work/file.q83")
  mapfile -t old < <(bytes_of "$work/radio.bin")
  mapfile -t new < <(bytes_of "$work/after.bin")
  [ "${#new[@]}" -eq 1024 ] || fail "no memory dump"
  stamp=""
  for ((a = 0; a < 1024; a++)); do
    if ((a < 0x100 || (a >= 0x2B0 && a < 0x2C0) || (a > 0x2D0 && a < 0x2E0))); then
      want=${file[a]}
      ((a == 0x2D1 || a == 0x2D9)) && want=2   # the radio's major version
      [ "${new[a]}" -eq "$want" ] || fail "address $a: ${new[a]}, expected $want"
    elif ((a == 0x2D0)); then
      [ "${new[a]}" -eq 5 ] || fail "0x2D0 should hold the radio's minor version"
    elif ((a >= 0x3C0 && a < 0x3CE)); then
      stamp+=$(printf "\\$(printf %o "${new[a]}")")
    elif ((a == 0x3CE || a == 0x3CF)); then
      [ "${new[a]}" -eq 0 ] || fail "date row byte $a not zero"
    else
      [ "${new[a]}" -eq "${old[a]}" ] || fail "address $a changed"
    fi
  done
  [[ "$stamp" =~ ^[0-9]{14}$ ]] || fail "write date '$stamp' is not 14 digits"
  [[ ! "$stamp" < "$before" && ! "$stamp" > "$after" ]] || fail "write date $stamp not in $before..$after"
  [ "$(grep -c 'PC>  57 ' "$work/sim.log")" -eq 38 ] || fail "expected 38 write frames"
  ;;
embed)
  "$cli" --ini "$work/program.ini" new -o "$work/file.q83" || fail "preparing the file"
  make_image 5 "$work/radio.bin"
  start_sim --load "$work/radio.bin"
  run_cli embed-write "$work/file.q83" --text "测试 radio 410" 2>"$work/cli.err" ||
    fail "embed-write failed: $(cat "$work/cli.err")"
  grep -q "写入数据完成" "$work/cli.err" || fail "no completion message"
  run_cli embed-read -o "$work/embed.q83" >"$work/embed.out" 2>"$work/cli.err" ||
    fail "embed-read failed: $(cat "$work/cli.err")"
  grep -q "用户自定义信息：测试 radio 410$" "$work/embed.out" || fail "text not read back: $(cat "$work/embed.out")"
  [ -s "$work/embed.q83" ] || fail "no data file"
  stop_sim
  ;;
paced)
  "$cli" --ini "$work/program.ini" new -o "$work/file.q83" --model 2 >/dev/null 2>&1 ||
    fail "preparing the file"
  make_image 11 "$work/radio.bin"
  start_sim --load "$work/radio.bin" --pace --dump "$work/after.bin"
  rounds=${QM_E2E_ROUNDS:-1}
  for ((r = 1; r <= rounds; r++)); do
    run_cli read -o "$work/read$r.q83" >"$work/cli.out" 2>"$work/cli.err" ||
      fail "read $r (exit $?): $(tail -2 "$work/cli.err") $(tail -2 "$work/cli.out")"
    run_cli write "$work/file.q83" --yes >"$work/cli.out" 2>"$work/cli.err" ||
      fail "write $r (exit $?): $(tail -2 "$work/cli.err") $(tail -2 "$work/cli.out")"
  done
  stop_sim
  # The first read is the radio as loaded; every later one what the writes made of it, which
  # the memory still holds at the end but for the write date.
  diff <(bytes_of "$work/radio.bin") <(image_of "$work/read1.q83") >/dev/null ||
    fail "read 1 differs from the radio's memory"
  undated() { awk 'NR <= 960 || NR > 976' "$@"; }
  for ((r = 2; r <= rounds; r++)); do
    diff <(bytes_of "$work/after.bin" | undated) <(image_of "$work/read$r.q83" | undated) >/dev/null ||
      fail "read $r differs from the radio's memory"
  done
  [ "$(grep -c 'PC>  52 ' "$work/sim.log")" -eq $((128 * rounds)) ] || fail "expected $((128 * rounds)) read requests"
  ;;
faults)
  start_sim --identity X4712
  if run_cli read -o "$work/x.q83" 2>"$work/cli.err"; then fail "read of another radio succeeded"; fi
  grep -q "\[机型错误\].*机型与软件不匹配，请选择正确的机型！" "$work/cli.err" || fail "no model message"
  [ ! -e "$work/x.q83" ] || fail "a file was written"
  stop_sim
  start_sim --short 0x010
  if run_cli read -o "$work/x.q83" 2>"$work/cli.err"; then fail "interrupted read succeeded"; fi
  grep -q "\[读频错误\].*读频中断，请重试！" "$work/cli.err" || fail "no interruption message"
  [ ! -e "$work/x.q83" ] || fail "a file was written"
  [ -z "$(ls -A "$work/history" 2>/dev/null)" ] || fail "a failed read was kept"
  stop_sim
  if "$cli" --ini "$work/program.ini" read -o "$work/x.q83" --device "$work/missing" 2>"$work/cli.err"; then
    fail "read from a missing device succeeded"
  fi
  grep -q "\[错误\].*端口1: $work/missing: 没有这个设备" "$work/cli.err" ||
    fail "no port message: $(cat "$work/cli.err")"
  ;;
idtext)
  # Zeros but for the model code 99 (in no table), the ID "QM-0042" and the user text
  # "OK", ESC, "[2J" (an escape sequence that would clear the terminal).
  LC_ALL=C awk 'BEGIN {
    for (i = 0; i < 1024; i++) b[i] = 0
    b[722] = 99
    split("81 77 45 48 48 52 50", id, " "); for (k = 1; k <= 7; k++) b[992 + k - 1] = id[k]
    split("79 75 27 91 50 74", tx, " "); for (k = 1; k <= 6; k++) b[768 + 2 * (k - 1)] = tx[k]
    for (i = 0; i < 1024; i++) printf "%c", b[i] }' >"$work/radio.bin"
  start_sim --load "$work/radio.bin"
  run_cli read -o "$work/read.q83" 2>"$work/cli.err" || fail "read failed: $(cat "$work/cli.err")"
  grep -q "读频完成－.*(未知机型（代码 99）, V" "$work/cli.err" ||
    fail "unknown model code not reported: $(cat "$work/cli.err")"
  run_cli embed-read >"$work/embed.out" 2>"$work/cli.err" ||
    fail "embed-read failed: $(cat "$work/cli.err")"
  stop_sim
  [ "$(LC_ALL=C tr -d '\000-\011\013-\037\177' <"$work/embed.out" | wc -c)" -eq "$(wc -c <"$work/embed.out")" ] ||
    fail "control bytes on the terminal: $(od -c "$work/embed.out" | head)"
  grep -qx "对讲机ID：QM-0042" "$work/embed.out" || fail "ID not printed as text: $(cat "$work/embed.out")"
  grep -qx "用户自定义信息：OK?\[2J" "$work/embed.out" || fail "user text: $(cat "$work/embed.out")"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok: $case_name"
