#!/bin/sh
# The menu exports (through LibreOffice) and the tool-bar exports (the built-in
# engine) of the same designs must hold the same text in every cell, as
# python3-xlrd reads them back. Usage: tools/menu_toolbar_crosscheck.sh BUILD-DIR [DESIGNS]
# Exit 0 when every table agrees.
set -eu
build=$(cd "$1" && pwd)
count=${2:-50}
here=$(cd "$(dirname "$0")/.." && pwd)
tool="$here/tests/automation/xls_tool.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
distances="100 125 160 200 250 280 315 355 400 450 500"
menu=""
plain=""
n=0
for starts in 1 2 3 4; do
  for teeth in 30 36 40 45 50 56; do
    for a in $distances; do
      [ "$n" -ge "$count" ] && break 3
      if "$build/tpworm-cli" design --centre-distance "$a" --teeth "$teeth" --starts "$starts" \
           --save "d$n.wpx" >/dev/null 2>&1; then
        for t in worm wheel hob; do
          menu="$menu $t d$n.wpx m$n-$t.xls"
          plain="$plain $t d$n.wpx t$n-$t.xls"
        done
        n=$((n + 1))
      fi
    done
  done
done
# shellcheck disable=SC2086
"$build/tpworm-cli" export --automation $menu
# shellcheck disable=SC2086
"$build/tpworm-cli" export $plain
bad=0
for f in m*-*.xls; do
  other="t${f#m}"
  /usr/bin/python3 "$tool" dump "$f" > a.json
  /usr/bin/python3 "$tool" dump "$other" > b.json
  if ! cmp -s a.json b.json; then
    echo "differs: $f $other"
    bad=$((bad + 1))
  fi
done
echo "$n designs, $((n * 3)) tables compared, $bad differ"
[ "$bad" -eq 0 ]
