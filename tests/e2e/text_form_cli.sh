#!/usr/bin/env bash
# The data file as text (.toml), end to end through qm830k-cli convert.
#   roundtrip  .q83 -> .toml -> .q83 gives the same bytes: the default file of every model, a
#              read image whose every byte is odd (the uninterpreted areas, the carried bits,
#              values no list offers), a version-1 read converted, and a legacy file back to
#              legacy; a text written twice is the same text, and diff takes the text form
#   refusals   each bad text is refused naming its line and key, and the target stays as it was
# Usage: text_form_cli.sh CASE CLI SIM
set -euo pipefail
case_name=$1
cli=$2
sim=$3

sim_defaults=(--model 7)
# shellcheck source=sim_rig.sh
source "$(dirname "$0")/sim_rig.sh"

tool() { "$cli" --lang zh --ini "$work/program.ini" "$@"; }
# X.q83 -> X.toml -> Y.q83 and the same bytes; the text of Y is the text of X.
round_trip() {  # file.q83|file.z410
  local x=$1 base=${1%.*} ext=${1##*.}
  tool convert "$x" "$base.toml" || fail "convert $x to text failed"
  tool convert "$base.toml" "$base.back.$ext" || fail "convert $base.toml back failed"
  cmp "$x" "$base.back.$ext" || fail "$x changed on its way through the text form"
  tool convert "$base.back.$ext" "$base.again.toml" || fail "convert back to text failed"
  cmp "$base.toml" "$base.again.toml" || fail "the text form of $x is not stable"
  tool diff "$x" "$base.toml" >/dev/null || fail "diff finds a difference between $x and its text"
}

case "$case_name" in
roundtrip)
  m=0
  while tool new -o "$work/model$m.q83" --model "$m" 2>/dev/null; do
    round_trip "$work/model$m.q83"
    m=$((m + 1))
  done
  [ "$m" -ge 5 ] || fail "expected the default file of at least 5 models, made $m"
  # Every byte depends on its address: odd values in every field and every kept bit.
  LC_ALL=C awk 'BEGIN { for (i = 0; i < 1024; i++) printf "%c", (i * 7 + 17 + int(i / 256)) % 256 }' \
    >"$work/radio.bin"
  start_sim --load "$work/radio.bin" --version 2.3
  "$cli" --ini "$work/program.ini" read -o "$work/read.q83" --device "$device" >/dev/null 2>&1 ||
    fail "read failed"
  round_trip "$work/read.q83"
  grep -q '{ raw = ' "$work/read.toml" || fail "the odd image needs no raw field: not odd enough"
  stop_sim
  start_sim --load "$work/radio.bin" --version 1.0
  "$cli" --ini "$work/program.ini" read -o "$work/v1.q83" --device "$device" </dev/null \
    >/dev/null 2>&1 || fail "read of a version-1 radio failed"
  round_trip "$work/v1.q83"
  tool convert "$work/v1.q83" "$work/legacy.z410"
  round_trip "$work/legacy.z410"
  grep -qx 'version = "1.1"' "$work/legacy.toml" || fail "a legacy file's text does not say 1.1"
  ;;
refusals)
  tool new -o "$work/a.q83"
  tool convert "$work/a.q83" "$work/a.toml"
  cp "$work/a.q83" "$work/target.q83"
  # The number of the first line matching a pattern (after the n-th match of another).
  line_of() { awk -v from="$1" -v n="${3:-1}" -v pat="$2" \
    '$0 ~ from { seen++ } seen >= n && $0 ~ pat { print NR; exit }' "$work/a.toml"; }
  # case: a line replaced (line number, new text), the key and the words expected.
  refuse() {  # line text key words
    local line=$1 text=$2 key=$3 words=$4
    awk -v l="$line" -v t="$text" 'NR == l { print t; next } { print }' "$work/a.toml" >"$work/bad.toml"
    local code=0
    tool convert "$work/bad.toml" "$work/target.q83" >"$work/out" 2>&1 || code=$?
    [ "$code" -eq 1 ] || fail "$key: exit $code, expected 1"
    grep -qF "第${line}行，$key：" "$work/out" || fail "$key: line $line not named: $(cat "$work/out")"
    grep -qF "$words" "$work/out" || fail "$key: no \"$words\": $(cat "$work/out")"
    cmp -s "$work/a.q83" "$work/target.q83" || fail "$key: the target was replaced"
  }
  l=$(line_of '^\[ident\]' '^identity =')
  refuse "$l" "$(printf 'identity = "\xff\xfe"')" ident.identity "不是UTF-8文字"
  l=$(line_of '^\[\[channel\]\]' '^rx =')
  refuse "$l" 'colour = "red"' 'channel[1].colour' "未知的键"
  refuse "$l" 'rx = 446.5' 'channel[1].rx' "值的类型不对"
  refuse "$l" 'rx = "900.00000"' 'channel[1].rx' "超出本机频率范围"
  # A letter outside quotes (which the TOML library misreads as it looks for whitespace).
  l=$(line_of '^\[\[channel\]\]' '^in_use =')
  refuse "$l" 'in_use = é' 'channel.in_use' "引号之外只能用ASCII字符"
  l=$(line_of '^\[\[channel\]\]' '^rx_signal =')
  refuse "$l" 'rx_signal = "CTC 69.3"' 'channel[1].rx_signal' "本机没有这个CTC频率"
  l=$(line_of '^\[functions\]' '^squelch =')
  refuse "$l" 'squelch = 12' 'functions.squelch' "数值超出范围（0到9）"
  l=$(line_of '^\[\[channel\]\]' '^channel =' 16)
  refuse "$l" 'channel = 15' 'channel.channel' "信道15重复"
  l=$(line_of '^\[bytes\]' '^0x1B0 =')
  refuse "$l" '0x1B0 = "00 01 02"' 'bytes.0x1B0' "应为16个十六进制字节"
  refuse "$l" '0x400 = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"' 'bytes.0x400' "地址不在范围内"
  # A channel left out: named by the table it is missing from.
  awk '/^\[\[channel\]\]/ { n++ } n == 16 && /^\[\[tune_channel\]\]/ { n++ } n != 16 { print }' \
    "$work/a.toml" >"$work/bad.toml"
  code=0
  tool convert "$work/bad.toml" "$work/target.q83" >"$work/out" 2>&1 || code=$?
  [ "$code" -eq 1 ] && grep -qE '第[0-9]+行，channel：缺少信道16' "$work/out" ||
    fail "a missing channel: $(cat "$work/out")"
  cmp -s "$work/a.q83" "$work/target.q83" || fail "missing channel: the target was replaced"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
