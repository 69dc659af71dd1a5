#!/bin/sh
# Speed and memory of tpworm-cli batch, end to end, on one core:
#   designs per second on a large CSV (default 1,000,000 rows), the whole
#   process for one row, the growth from N/10 to N rows, and the peak memory
#   of a one-row run. Usage: run-batch-bench.sh BUILD-DIR [ROWS]
# Targets: >= 50,000 designs/s; 1 row <= 10 ms and <= 20 MiB; 10x rows <= 10.5x time.
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

seconds() { # command...: wall seconds of the whole process, on CPU 0
  /usr/bin/time -f %e taskset -c 0 "$@" 2>&1 >/dev/null | tail -1
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

echo "one row, whole process (best of 20, not pinned: a pinned core shared with other work inflates it): $one"
echo "one row, peak resident memory: $peak KiB"
echo "$((rows / 10)) rows: $tenth s; $rows rows: $all s (jsonl), $allcsv s (csv)"
python3 -c "import sys; t,a,c,n=map(float,sys.argv[1:]); print(f'designs/s: {n/a:.0f} (jsonl), {n/c:.0f} (csv); growth x10: {a/t:.2f}')" \
  "$tenth" "$all" "$allcsv" "$rows"
