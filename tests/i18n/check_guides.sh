#!/bin/sh
# The Chinese and the English user guide tell the same things: the same chapters and sections
# in the same order, and in each section as many table rows, numbered steps, examples and
# pictures. Prints the first section where they part.
# usage: check_guides.sh GUIDE.md GUIDE.en.md
set -eu
outline() {
  awk '
    function flush() { if (name != "") print name, "rows=" rows, "steps=" steps, "code=" code, "pictures=" pics }
    /^```/ { if (!fenced) code++; fenced = !fenced; next }
    fenced { next }
    /^##+ / {
      flush()
      level = index($0, " ") - 1
      number = ($2 ~ /^[0-9]+(\.[0-9]+)*\.?$/) ? $2 : "-"
      sub(/\.$/, "", number)
      name = "h" level " " number
      rows = steps = code = pics = 0
      next
    }
    /^\|/ && !/^\|[-| ]*\|$/ { rows++ }
    /^ *[0-9]+\. / { steps++ }
    /!\[/ { pics++ }
    END { flush() }
  ' "$1"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
outline "$1" >"$tmp/zh"
outline "$2" >"$tmp/en"
if ! diff -u "$tmp/zh" "$tmp/en" >"$tmp/diff"; then
  echo "The guides differ in their outline (-: $1, +: $2):" >&2
  cat "$tmp/diff" >&2
  exit 1
fi
echo "$(wc -l <"$tmp/zh") sections alike"
