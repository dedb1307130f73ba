#!/bin/sh
# Fails when a folder of src/ includes a header from a folder above it, naming the file and
# the line. The order is src/folders.txt, lowest first: a folder may include its own headers
# and those of the folders before it. A subfolder (sim/main, ui/tools) belongs to its folder.
# usage: folder_order.sh SOURCE_DIR
set -eu
order=$(awk '!/^#/ && NF { printf "%s%s", sep, $1; sep = " " }' "$1/src/folders.txt")

cd "$1/src"
find . -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) | sort |
  xargs awk -v order="$order" '
    BEGIN {
      n = split(order, names, " ")
      for (i = 1; i <= n; ++i) rank[names[i]] = i
      bad = 0
    }
    FNR == 1 {
      file = substr(FILENAME, 3)
      folder = file
      sub(/\/.*/, "", folder)
      if (!(folder in rank)) {
        printf "src/%s: folder %s/ has no place in the folder order\n", file, folder
        bad = 1
      }
    }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      target = $0
      sub(/^[^"]*"/, "", target)
      sub(/".*/, "", target)
      # A name without a folder is beside the file (or generated for it).
      if (index(target, "/") == 0) next
      to = target
      sub(/\/.*/, "", to)
      if (!(to in rank)) {
        printf "src/%s:%d: includes %s from %s/, which has no place in the folder order\n",
               file, FNR, target, to
        bad = 1
      } else if ((folder in rank) && rank[to] > rank[folder]) {
        printf "src/%s:%d: %s/ includes %s from %s/, which is above it\n",
               file, FNR, folder, target, to
        bad = 1
      }
    }
    END { exit bad }
  ' || {
  echo "folder order (lowest first): $order" >&2
  exit 1
}
