#!/bin/sh
# The menu exports (through LibreOffice) and the tool-bar exports (the built-in
# engine) of the same designs must hold the same text in every cell, as
# python3-xlrd reads them back. Usage: tools/menu_toolbar_crosscheck.sh BUILD-DIR [DESIGNS]
# Exit 0 when every table agrees. The menu exports run in one tpworm-cli run,
# on the one LibreOffice server it keeps; the times of both runs are printed.
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
pairs=""
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
          pairs="$pairs m$n-$t.xls t$n-$t.xls"
        done
        n=$((n + 1))
      fi
    done
  done
done
now() { date +%s.%N; }
t0=$(now)
# shellcheck disable=SC2086
"$build/tpworm-cli" export --automation $menu
t1=$(now)
# shellcheck disable=SC2086
"$build/tpworm-cli" export $plain
t2=$(now)
bad=0
# shellcheck disable=SC2086
/usr/bin/python3 "$tool" differ $pairs > differ.txt
while read -r f other; do
  echo "differs: $f $other"
  bad=$((bad + 1))
done < differ.txt
echo "$n designs, $((n * 3)) tables compared, $bad differ"
awk -v a="$t0" -v b="$t1" -v c="$t2" 'BEGIN { printf "menu exports %.1f s, tool-bar exports %.1f s\n", b - a, c - b }'
[ "$bad" -eq 0 ]
