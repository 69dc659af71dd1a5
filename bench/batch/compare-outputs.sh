#!/bin/sh
# Byte identity of two tpworm-cli binaries' batch and sweep outputs (standard
# output, standard error and exit status) on mixed rows: valid and faulty drive
# data, every grade, whole teeth and standard backlash on and off, overrides,
# malformed rows; JSON lines and CSV, with and without a duty, in Chinese and
# English. A speed change must leave every byte as it was.
# Usage: compare-outputs.sh REFERENCE-CLI CLI [ROWS=20000]
# The reference binary must stand in a program directory (beside db1.mdb and
# the other data files), e.g. a copy of tpworm-cli made before the change.
set -eu
ref=${1:?reference tpworm-cli}
cli=${2:?tpworm-cli}
rows=${3:-20000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$rows" > "$work/in.csv" <<'PY'
import random, sys
rng = random.Random(11)
n = int(sys.argv[1])
a = ["70", "100", "125", "160", "200", "250", "315", "400", "500", "630", "1000", "63", "", "25O", "-40", "250.5", "1e3"]
teeth = ["29", "31", "40", "45", "50", "61", "80", "120", "", "4x", "0", "7"]
starts = ["1", "2", "3", "4", "6", "", "0"]
edit5 = ["", "", "", "", "150", "abc", "0", "1e3", "90"]
print("centre_distance,teeth,starts,grade,standard_backlash,whole_teeth,Edit5,Edit6,Edit8,Edit13")
for k in range(n):
    if k % 997 == 5:
        print("250,45")                      # missing fields
        continue
    if k % 991 == 7:
        print("250,45,2,9,yes,no,,,,")       # not a grade
        continue
    print(",".join([rng.choice(a), rng.choice(teeth), rng.choice(starts), rng.choice("678"),
                    rng.choice(["yes", "no"]), rng.choice(["yes", "no"]), rng.choice(edit5),
                    rng.choice(["", "", "", "3", "x"]), rng.choice(["", "", "", "0.2", "-1"]),
                    rng.choice(["", "", "", "", "1", "0.75"])]))
PY

failed=0
compare() { # name, arguments...
  name=$1
  shift
  set +e
  "$ref" "$@" > "$work/ref.out" 2> "$work/ref.err"
  echo $? > "$work/ref.rc"
  "$cli" "$@" > "$work/new.out" 2> "$work/new.err"
  echo $? > "$work/new.rc"
  set -e
  for part in out err rc; do
    if ! cmp -s "$work/ref.$part" "$work/new.$part"; then
      echo "DIFFERENT: $name ($part)"
      failed=1
    fi
  done
  echo "$name: $(wc -c < "$work/new.out") bytes, exit $(cat "$work/new.rc")"
}

duty="--power 5 --speed 1450"
for lang in zh en; do
  compare "batch jsonl $lang" batch --lang $lang "$work/in.csv"
  compare "batch csv $lang" batch --lang $lang --format csv "$work/in.csv"
  compare "batch jsonl duty $lang" batch --lang $lang $duty "$work/in.csv"
  compare "batch csv duty $lang" batch --lang $lang --format csv $duty --material iron-iron --ambient 35 "$work/in.csv"
  compare "sweep jsonl $lang" sweep --lang $lang --ratio 20 --starts 1,2,3,4 --grades 6,7,8
  compare "sweep csv duty $lang" sweep --lang $lang --format csv --teeth 45 --starts 1,2 $duty --whole-teeth
done
compare "batch jsonl coefficients" batch --coefficients 0.875,1.2,1,0.5,0,0.55,2,0,0.15,0.5,0.5,1,0.5,1,0.9,9 "$work/in.csv"
if [ $failed -ne 0 ]; then
  echo "outputs differ"
  exit 1
fi
echo "all outputs byte-identical"
