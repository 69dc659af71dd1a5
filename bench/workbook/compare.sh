#!/bin/sh
# The same workbooks as workbook_bench, read by python3-xlrd and converted by
# LibreOffice headless, for comparison with the engine's Load + 25 SetCellText + Save.
#   bench/workbook/compare.sh BUILD-DIR
set -eu
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/workbook_bench" --write-inputs "$work/in"
# One conversion first, so that the profile is made before anything is timed.
soffice -env:UserInstallation=file://"$work"/profile --headless --convert-to csv --outdir "$work/out" "$work/in/template.xls" >/dev/null 2>&1
echo "file                 bytes   xlrd-open(s)  soffice-csv(s)"
for f in "$work"/in/*.xls; do
  name=$(basename "$f")
  bytes=$(stat -c %s "$f")
  xlrd=$(/usr/bin/python3 -c "
import sys, time, xlrd
t = time.perf_counter()
for _ in range(3):
    xlrd.open_workbook(sys.argv[1])
print('%.4f' % ((time.perf_counter() - t) / 3))" "$f")
  start=$(date +%s.%N)
  soffice -env:UserInstallation=file://"$work"/profile --headless --convert-to csv --outdir "$work/out" "$f" >/dev/null 2>&1
  end=$(date +%s.%N)
  printf '%-18s %8s %12s %14.3f\n' "$name" "$bytes" "$xlrd" "$(echo "$end - $start" | bc)"
done
