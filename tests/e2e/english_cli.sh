#!/usr/bin/env bash
# qm830k-cli in English, end to end: every verb, its error paths (missing file, damaged file,
# bad argument) and read, write, verify, embedded information and tune sessions against
# zr410-sim. Nothing it prints may hold a Chinese character; the data files it writes are the
# bytes the Chinese interface writes. With the window program given, its --help as well.
# Usage: english_cli.sh all CLI SIM [QM830K]
set -euo pipefail
case_name=$1
cli=$2
sim=$3
window=${4:-}

sim_defaults=(--model 7)
# shellcheck source=sim_rig.sh
source "$(dirname "$0")/sim_rig.sh"
[ "$case_name" = all ] || fail "unknown case $case_name"

out="$work/all.out"
: >"$out"
# Runs the tool in English with stdout and stderr into the record, under a heading naming the
# command; returns the tool's exit code. Input comes from $input (/dev/null: no question waits).
input=/dev/null
en() {
  local code=0
  echo "### $*" >>"$out"
  "$cli" --lang en --ini "$work/program.ini" "$@" <"$input" >>"$out" 2>&1 || code=$?
  echo "### exit $code" >>"$out"
  return "$code"
}
# The same, for a verb that talks to the simulated radio.
en_radio() { en "$@" --device "$work/radio"; }
expect() {  # code command...
  local want=$1 code=0
  shift
  "$@" || code=$?
  [ "$code" -eq "$want" ] || fail "$* ended with $code, expected $want: $(tail -5 "$out")"
}
said() { grep -qF -- "$1" "$out" || fail "nothing says \"$1\""; }

# ---- files -----------------------------------------------------------------------------
expect 0 en new -o "$work/a.q83"
"$cli" --lang zh --ini "$work/program.ini" new -o "$work/zh.q83" >/dev/null 2>&1
same_but_write_date "$work/a.q83" "$work/zh.q83" || fail "new writes other bytes in English"
expect 0 en new -o "$work/pmr.q83" --model-code 32
printf 'not a data file' >"$work/bad.q83"
: >"$work/empty.q83"
for verb in show dump; do
  expect 0 en "$verb" "$work/a.q83"
  expect 1 en "$verb" "$work/missing.q83"
  expect 1 en "$verb" "$work/bad.q83"
done
# --json is the same in every language: it holds the grid's texts as the files' data.
"$cli" --lang en --ini "$work/program.ini" show "$work/pmr.q83" --json >"$work/en.json"
"$cli" --lang zh --ini "$work/program.ini" show "$work/pmr.q83" --json >"$work/zh.json"
cmp -s "$work/en.json" "$work/zh.json" || fail "--json differs between the languages"
expect 0 en convert "$work/a.q83" "$work/a.z410"
expect 1 en convert "$work/empty.q83" "$work/b.q83"
expect 1 en convert "$work/a.q83" "$work/no/such/dir/b.q83"
expect 0 en diff "$work/a.q83" "$work/a.q83"
expect 1 en diff "$work/a.q83" "$work/pmr.q83"
expect 2 en diff "$work/a.q83" "$work/missing.q83"
expect 0 en print "$work/a.q83" --pdf "$work/a.pdf"
expect 0 en print "$work/a.q83" --pdf "$work/t.pdf" --tune --tune-channel 1
expect 1 en print "$work/missing.q83" --pdf "$work/m.pdf"
expect 2 en print "$work/a.q83" --pdf "$work/m.pdf" --tune-channel 12

expect 0 en export-csv "$work/pmr.q83" "$work/pmr.csv"
grep -q '^1,Channel 1,446.006250,' "$work/pmr.csv" || fail "export names: $(head -2 "$work/pmr.csv")"
expect 1 en export-csv "$work/missing.q83" "$work/x.csv"
expect 0 en import-csv "$work/a.q83" "$work/pmr.csv" -o "$work/imported.q83"
"$cli" --lang zh --ini "$work/program.ini" import-csv "$work/a.q83" "$work/pmr.csv" \
  -o "$work/imported-zh.q83" >/dev/null 2>&1
cmp -s "$work/imported.q83" "$work/imported-zh.q83" || fail "import-csv writes other bytes in English"
printf 'Location,Frequency\n1,abc\n' >"$work/bad.csv"
expect 1 en import-csv "$work/a.q83" "$work/bad.csv" -o "$work/x.q83"
expect 1 en import-csv "$work/a.q83" "$work/missing.csv" -o "$work/x.q83"
expect 2 en import-csv "$work/a.q83" "$work/pmr.csv" --from-location x -o "$work/x.q83"

# set: values in English in any case, in Chinese, and a wrong one with the valid ones listed.
expect 0 en set "$work/a.q83" --channels 1-3 --power LOW --bandwidth Narrow --scan del \
  --busy-lock on -o "$work/set-en.q83"
"$cli" --lang zh --ini "$work/program.ini" set "$work/a.q83" --channels 1-3 --power 低 \
  --bandwidth 窄带 --scan 删除 --busy-lock 打开 -o "$work/set-zh.q83" >/dev/null 2>&1
cmp -s "$work/set-en.q83" "$work/set-zh.q83" || fail "set in English differs from set in Chinese"
said "3 channels changed"
expect 0 en set "$work/a.q83" --channels 1 --power 低 -o "$work/x.q83"
said "1 channel changed"
expect 2 en set "$work/a.q83" --channels 1 --power medium -o "$work/x.q83"
said "value not recognised (medium); use High|Low"
expect 2 en set "$work/a.q83" --channels 0-3 --power low -o "$work/x.q83"
expect 2 en set "$work/a.q83" --channels 1 -o "$work/x.q83"
expect 1 en set "$work/a.q83" --channels 1 --tx-signal 'DCS 018' -o "$work/x.q83"
expect 1 en set "$work/missing.q83" --channels 1 --power low -o "$work/x.q83"
expect 1 en set "$work/bad.q83" --channels 1 --power low -o "$work/x.q83"

# ---- help ------------------------------------------------------------------------------
expect 0 en --help
said "[--power High|Low]"
for verb in show new dump convert diff print export-csv import-csv set read write embed-read \
  embed-write ports tune-show tune-adjust tune-write; do
  expect 0 en "$verb" --help
  expect 2 en "$verb" --no-such-option
done
expect 2 en bogus-verb
# The environment chooses the language as --lang does.
QM830K_LANG=en "$cli" --ini "$work/program.ini" show "$work/missing.q83" >>"$out" 2>&1 || true
if [ -n "$window" ]; then
  echo "### qm830k --lang en --help" >>"$out"
  "$window" --lang en --help >>"$out" 2>&1 || fail "qm830k --help failed"
  said "The serial device for read, write and tune mode."
fi

# ---- the radio -------------------------------------------------------------------------
make_image() {  # seed file: a pattern, the model code 7 and version 2.0 in the ident row
  LC_ALL=C awk -v seed="$1" 'BEGIN { for (i = 0; i < 1024; i++) {
    v = (i * 7 + seed) % 256
    if (i >= 768) v = 65 + i % 26   # embedded areas: letters
    if (i == 722) v = 7
    printf "%c", v } }' >"$2"
}
make_image 17 "$work/radio.bin"

start_sim --load "$work/radio.bin" --dump "$work/after.bin"
expect 0 en_radio read -o "$work/read.q83"
said "Read complete - QM830K Programming Software (QM830K-U1, V2.0)"
expect 0 en_radio write "$work/a.q83" --yes
expect 0 en_radio write "$work/a.q83" --verify --backup "$work/backups" --yes
expect 0 en_radio embed-write "$work/a.q83" --text "bench 7"
expect 0 en_radio embed-read -o "$work/embed.q83"
said "Radio ID: "
expect 1 en_radio embed-write "$work/a.q83" --text "$(printf 'x%.0s' $(seq 97))"
expect 0 en_radio ports
expect 0 en_radio tune-show
expect 0 en_radio tune-adjust --item CTCDevW --channel 1 --value 100 --store
expect 2 en_radio tune-adjust --item Nonsense --channel 1 --value 1
expect 0 en_radio tune-write "$work/a.q83"
expect 1 en_radio tune-write "$work/missing.q83"
expect 1 en_radio write "$work/missing.q83" --yes
expect 1 en_radio embed-write "$work/bad.q83"
printf '\n' >"$work/enter"
input="$work/enter"
expect 0 en_radio write "$work/a.q83" --fleet --count 1 --log "$work/fleet.csv"
input=/dev/null
said "1 radio: 1 succeeded, 0 failed"
stop_sim

# A version-1 radio, a newer one (the question is answered no off a terminal), one that
# stores a wrong byte, one of another kind, one that stops half way, and no radio at all.
start_sim --load "$work/radio.bin" --version 1.0
expect 0 en_radio read -o "$work/v1.q83"
stop_sim
start_sim --load "$work/radio.bin" --version 3.0
expect 1 en_radio read -o "$work/v3.q83"
stop_sim
start_sim --load "$work/radio.bin" --corrupt 0x2B3
expect 1 en_radio write "$work/a.q83" --verify --yes
said "Verify failed"
stop_sim
start_sim --identity X4712
expect 1 en_radio read -o "$work/x.q83"
expect 1 en_radio tune-show
stop_sim
start_sim --load "$work/radio.bin" --short 0x010
expect 1 en_radio read -o "$work/x.q83"
stop_sim
start_sim --load "$work/radio.bin" --model 99
expect 0 en_radio read -o "$work/m99.q83"
stop_sim
expect 1 en read -o "$work/x.q83" --device "$work/missing"
said "COM1: $work/missing"
start_sim --silent
expect 1 en_radio read -o "$work/x.q83"
said "COM1 does not answer"
stop_sim

# ---- no Chinese anywhere ---------------------------------------------------------------
# The headings name the commands, some with Chinese values given to set.
if grep -v '^###' "$out" |
  LC_ALL=C.UTF-8 grep -nP '[\x{3000}-\x{303F}\x{4E00}-\x{9FFF}\x{FF00}-\x{FFEF}]' >"$work/chinese"; then
  fail "Chinese in the English output:
$(cat "$work/chinese")"
fi
[ "$(grep -c '^### exit' "$out")" -gt 60 ] || fail "too few commands ran"
[ -z "${QM_E2E_KEEP:-}" ] || cp "$out" "$QM_E2E_KEEP"
echo "ok: $case_name"
