#!/bin/sh
# Fails when a text the user sees has no finished English translation, or when a Chinese
# text in the sources is marked neither for translation nor as data.
# usage: check_translations.sh SOURCE_DIR TS_FILE QM830K_TS LUPDATE [LUPDATE OPTIONS...]
set -eu
src=$1
ts=$2
tool=$3
lupdate=$4
shift 4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Collect the texts of the sources as they are now into a copy, so that a text added since
# the last update of the .ts counts as untranslated.
cp "$ts" "$tmp/check.ts"
"$lupdate" "$@" "$src/src" -ts "$tmp/check.ts" >"$tmp/lupdate.log" 2>&1 || {
  cat "$tmp/lupdate.log" >&2
  exit 1
}
if ! "$tool" check "$tmp/check.ts" "$src/src"; then
  echo "Run: cmake --build build --target qm830k_lupdate, then translate the new texts in $ts" >&2
  exit 1
fi
