#!/usr/bin/env bash
# qm830k-cli check and ports against zr410-sim, a missing device, a busy and an unreadable
# one, and a fake device tree for the listing (never the machine's own devices).
# Usage: check_cli.sh CASE CLI SIM
#   outcomes  each outcome's line and exit code; a radio gets only the handshake and END
#   ports     a fake device tree with the simulator behind a ttyACM: listed with its chip,
#             usable, and the stored port 23 in the configuration file is kept
#   wine      (QM_WINE_PREFIX set; CLI is the Windows tool) the simulator linked as com23 of
#             the prefix: listed by ports, checked as a radio, read and written with --port 23
#             byte for byte; COM24 checks as no such port
set -euo pipefail
case_name=$1
cli=$2
sim=$3

sim_defaults=()
# shellcheck source=sim_rig.sh
source "$(dirname "$0")/sim_rig.sh"

# Runs check with ARGS..., expects exit code CODE and a line matching PATTERN (English).
check_case() {  # name code pattern args...
  local name=$1 code=$2 pattern=$3 rc=0
  shift 3
  "$cli" --lang en --ini "$work/program.ini" check "$@" >"$work/out" 2>&1 || rc=$?
  [ "$rc" -eq "$code" ] || fail "$name: exit code $rc, expected $code: $(cat "$work/out")"
  grep -q -- "$pattern" "$work/out" || fail "$name: unexpected line: $(cat "$work/out")"
  [ "$(wc -l <"$work/out")" -eq 1 ] || fail "$name: more than one line: $(cat "$work/out")"
}

case "$case_name" in
outcomes)
  start_sim --version 2.3 --model 2
  check_case radio 0 "radio answers: .*version 2.3" --device "$device"
  stop_sim
  # Only the handshake and END went to the radio.
  sent=$(grep -o 'PC>  [0-9A-F ]*' "$work/sim.log" | sed 's/ *$//' | tr '\n' '|')
  [ "$sent" = "PC>  02 50 52 4F 47 52 41 4D|PC>  02|PC>  06|PC>  45 4E 44|" ] ||
    fail "the check sent more than the handshake and END: $sent"
  for fault in silent echo foreign; do
    start_sim "--$fault"
    case $fault in
    silent) check_case silent 8 "nothing answers" --device "$device" ;;
    echo) check_case echo 9 "sends every byte back" --device "$device" ;;
    foreign) check_case foreign 10 "not this radio's protocol" --device "$device" ;;
    esac
    stop_sim
  done
  check_case absent 3 "no such port.*CH340/CH341, PL2303, CP210x or FTDI" --device "$work/gone"
  # Chinese by default, with the reason in Chinese.
  "$cli" --ini "$work/program.ini" check --device "$work/gone" >"$work/out" 2>&1 || true
  grep -q "^$work/gone: 没有这个端口" "$work/out" || fail "Chinese line: $(cat "$work/out")"
  # Busy: another program holds the port while the check runs.
  start_sim --silent
  "$cli" --ini "$work/program.ini" check --device "$device" >/dev/null 2>&1 &
  holder=$!
  sleep 0.5
  check_case busy 4 "taken by another program" --device "$device"
  wait "$holder" || true
  # No permission: the pseudo-terminal is not the unprivileged user's.
  if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    chmod 755 "$work"
    rc=0
    setpriv --reuid=65534 --regid=65534 --clear-groups \
      "$cli" --lang en --ini "$work/nobody.ini" check --device "$device" >"$work/out" 2>&1 || rc=$?
    [ "$rc" -eq 5 ] || fail "permission: exit code $rc: $(cat "$work/out")"
    grep -q "dialout" "$work/out" || fail "permission: $(cat "$work/out")"
  else
    echo "permission case skipped: needs root and setpriv to become another user"
  fi
  stop_sim
  # The port-open message of a read names the reason in the user's language.
  rc=0
  "$cli" --lang en --ini "$work/program.ini" read -o "$work/x.q83" --device "$work/gone" \
    >"$work/out" 2>&1 || rc=$?
  grep -q "COM1: $work/gone: no such device" "$work/out" || fail "read message: $(cat "$work/out")"
  ;;
ports)
  # A fake tree: a CDC ACM cable (the simulator behind it) that no COMn maps to.
  root=$work/root
  usbdev=sys/devices/pci0000:00/usb1/1-2
  mkdir -p "$root/$usbdev/1-2:1.0/tty/ttyACM0" "$root/sys/class/tty" "$root/dev" \
    "$root/sys/bus/usb/drivers/cdc_acm"
  echo 0483 >"$root/$usbdev/idVendor"
  echo 5740 >"$root/$usbdev/idProduct"
  echo "Radio Cable" >"$root/$usbdev/product"
  ln -s ../../../../../../../bus/usb/drivers/cdc_acm "$root/$usbdev/1-2:1.0/driver"
  ln -s ../.. "$root/$usbdev/1-2:1.0/tty/ttyACM0/device"
  ln -s "../../devices/pci0000:00/usb1/1-2/1-2:1.0/tty/ttyACM0" "$root/sys/class/tty/ttyACM0"
  link=$root/dev/ttyACM0
  start_sim
  printf '[Comm Port]\r\nCommon Port=23\r\n' >"$work/program.ini"
  QM830K_DEVICE_ROOT=$root "$cli" --ini "$work/program.ini" ports >"$work/out" 2>&1 ||
    fail "ports failed: $(cat "$work/out")"
  grep -q "^COM17	$root/dev/ttyACM0	usable	Radio Cable (cdc_acm, USB 0483:5740)" "$work/out" ||
    fail "the cable is not listed: $(cat "$work/out")"
  # The stored COM23 is gone: the present cable is offered instead.
  grep -q "^port: COM17" "$work/out" || fail "offered port: $(cat "$work/out")"
  stop_sim
  rc=0
  "$cli" --ini "$work/program.ini" check --port 257 >"$work/out" 2>&1 || rc=$?
  [ "$rc" -eq 2 ] && grep -q "from 1 to 256" "$work/out" || fail "--port 257: $(cat "$work/out")"
  ;;
wine)
  [ -n "${QM_WINE_PREFIX:-}" ] || fail "the wine case needs QM_WINE_PREFIX"
  link=$QM_WINE_PREFIX/dosdevices/com23
  rm -f "$QM_WINE_PREFIX/dosdevices/com24"
  LC_ALL=C awk 'BEGIN { for (i = 0; i < 1024; i++) printf "%c", (i * 5 + 9) % 256 }' >"$work/radio.bin"
  start_sim --load "$work/radio.bin" --dump "$work/after.bin"
  "$cli" --ini "$work/program.ini" ports >"$work/out" 2>&1 || fail "ports: $(cat "$work/out")"
  grep -q "^COM23	COM23	usable" "$work/out" || fail "COM23 is not listed: $(cat "$work/out")"
  check_case present 0 "radio answers" --port 23
  check_case absent 3 "no such port" --port 24
  "$cli" --ini "$work/program.ini" read -o "$work/read.q83" --port 23 >"$work/out" 2>&1 ||
    fail "read through COM23: $(cat "$work/out")"
  diff <(bytes_of "$work/radio.bin") <(image_of "$work/read.q83") >/dev/null ||
    fail "the file read through COM23 differs from the radio's memory"
  "$cli" --ini "$work/program.ini" write "$work/read.q83" --port 23 --yes >"$work/out" 2>&1 ||
    fail "write through COM23: $(cat "$work/out")"
  stop_sim
  # The Linux tool writes the same file to a radio of the same memory: the same bytes result.
  cp "$work/after.bin" "$work/after-wine.bin"
  link=$work/radio
  start_sim --load "$work/radio.bin" --dump "$work/after.bin"
  "${QM_DUMP_CLI:?}" --ini "$work/linux.ini" write "$work/read.q83" --device "$link" --yes \
    >"$work/out" 2>&1 || fail "the Linux write: $(cat "$work/out")"
  stop_sim
  # The write date is the only difference the two writes may have.
  cmp -l "$work/after.bin" "$work/after-wine.bin" | awk '$1 < 961 || $1 > 976' | grep -q . &&
    fail "COM23's write differs from the Linux tool's outside the write date"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok: $case_name"
