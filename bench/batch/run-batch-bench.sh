#!/bin/sh
# Speed and memory of tpworm-cli batch, end to end, on one core:
#   designs per second on a large CSV (default 1,000,000 rows), the whole
#   process for one row, the growth from N/10 to N rows, and the peak memory
#   of a one-row run. Usage: run-batch-bench.sh BUILD-DIR [ROWS]
# Targets: >= 50,000 designs/s (>= 40,000 with a duty); 1 row <= 10 ms and <= 20 MiB;
# 10x rows <= 10.5x time. Wall and CPU time (user + sys) are both printed: on a busy
# machine the wall time is the machine's, not the program's.
set -eu
build=${1:?build directory}
rows=${2:-1000000}
cli=$build/tpworm-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_csv() { # rows file
  python3 - "$1" > "$2" <<'PY'
import random, sys
random.seed(7)
n = int(sys.argv[1])
print("centre_distance,teeth,starts,grade,standard_backlash,whole_teeth")
a = [100, 125, 160, 200, 250, 315, 400, 500]
for _ in range(n):
    print(f"{random.choice(a)},{random.randint(20, 80)},{random.choice((1, 2, 3, 4))},"
          f"{random.choice((6, 7, 8))},{random.choice(('yes', 'no'))},{random.choice(('yes', 'no'))}")
PY
}

seconds() { # command...: "wall cpu" seconds of the whole process, on CPU 0 (cpu = user + sys)
  /usr/bin/time -f "%e %U %S" taskset -c 0 "$@" 2>&1 >/dev/null | tail -1 | awk '{ printf "%s %.2f", $1, $2 + $3 }'
}

make_csv 1 "$work/1.csv"
make_csv $((rows / 10)) "$work/tenth.csv"
make_csv "$rows" "$work/all.csv"

# /usr/bin/time counts in hundredths: the one-row run is timed in Python.
one=$(python3 - "$cli" "$work/1.csv" <<'PY'
import subprocess, sys, time
best = 1e9
for _ in range(20):
    t = time.perf_counter()
    subprocess.run([sys.argv[1], "batch", sys.argv[2]], stdout=subprocess.DEVNULL, check=True)
    best = min(best, time.perf_counter() - t)
print(f"{best * 1000:.1f} ms")
PY
)
peak=$(/usr/bin/time -f %M "$cli" batch "$work/1.csv" 2>&1 >/dev/null | tail -1)
tenth=$(seconds "$cli" batch "$work/tenth.csv")
all=$(seconds "$cli" batch "$work/all.csv")
allcsv=$(seconds "$cli" batch --format csv "$work/all.csv")
# The drive check of every design under one duty (target >= 40,000 designs/s).
duty="--power 5 --speed 1450"
alld=$(seconds "$cli" batch $duty "$work/all.csv")
allcsvd=$(seconds "$cli" batch --format csv $duty "$work/all.csv")

echo "one row, whole process (best of 20, not pinned: a pinned core shared with other work inflates it): $one"
echo "one row, peak resident memory: $peak KiB"
python3 - "$rows" "$tenth" "$all" "$allcsv" "$alld" "$allcsvd" <<'PY'
import sys
n = int(sys.argv[1])
tenth, jsonl, csv, dutyjsonl, dutycsv = ([float(x) for x in a.split()] for a in sys.argv[2:])
print(f"{n // 10} rows: {tenth[0]} s wall, {tenth[1]} s cpu (jsonl)")
for name, (wall, cpu) in (("jsonl", jsonl), ("csv", csv), ("jsonl + duty", dutyjsonl), ("csv + duty", dutycsv)):
    print(f"{n} rows, {name}: {wall} s wall, {cpu} s cpu: {n / wall:.0f} designs/s wall, {n / cpu:.0f} designs/s cpu")
print(f"growth x10 (jsonl): {jsonl[0] / tenth[0]:.2f} wall, {jsonl[1] / tenth[1]:.2f} cpu")
PY
