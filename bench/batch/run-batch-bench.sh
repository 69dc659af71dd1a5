#!/bin/sh
# Speed and memory of tpworm-cli batch, end to end, on one core:
#   designs per second on a large CSV (default 1,000,000 rows), the whole
#   process for one row, the growth from N/10 to N rows, and the peak memory
#   of a one-row run. Usage: run-batch-bench.sh BUILD-DIR [ROWS]
# Targets: >= 50,000 designs/s (>= 40,000 with a duty); 1 row <= 10 ms and <= 20 MiB;
# 10x rows <= 10.5x time. Wall and CPU time (user + sys) are both printed, each
# with its verdict: on a busy machine the wall time is the machine's, not the
# program's. The large runs are pinned to CPU 0 (one core).
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

# /usr/bin/time counts in hundredths: the one-row run is timed in Python, wall
# (best of 20) and CPU (user + sys of the child, best of 20).
one=$(python3 - "$cli" "$work/1.csv" <<'PY'
import os, subprocess, sys, time
best, best_cpu = 1e9, 1e9
for _ in range(20):
    before = os.times()
    t = time.perf_counter()
    subprocess.run([sys.argv[1], "batch", sys.argv[2]], stdout=subprocess.DEVNULL, check=True)
    best = min(best, time.perf_counter() - t)
    after = os.times()
    best_cpu = min(best_cpu, after.children_user - before.children_user + after.children_system - before.children_system)
print(f"{best * 1000:.1f} {best_cpu * 1000:.1f}")
PY
)
peak=$(/usr/bin/time -f %M "$cli" batch "$work/1.csv" 2>&1 >/dev/null | tail -1)
tenth=$(seconds "$cli" batch "$work/tenth.csv")
all=$(seconds "$cli" batch "$work/all.csv")
tenthcsv=$(seconds "$cli" batch --format csv "$work/tenth.csv")
allcsv=$(seconds "$cli" batch --format csv "$work/all.csv")
# The drive check of every design under one duty (target >= 40,000 designs/s).
duty="--power 5 --speed 1450"
alld=$(seconds "$cli" batch $duty "$work/all.csv")
allcsvd=$(seconds "$cli" batch --format csv $duty "$work/all.csv")

python3 - "$rows" "$one" "$peak" "$tenth" "$all" "$tenthcsv" "$allcsv" "$alld" "$allcsvd" <<'PY'
import sys
n = int(sys.argv[1])
one_wall, one_cpu = (float(x) for x in sys.argv[2].split())
peak = int(sys.argv[3])
tenth, jsonl, tenthcsv, csv, dutyjsonl, dutycsv = ([float(x) for x in a.split()] for a in sys.argv[4:])
def verdict(ok): return "met" if ok else "NOT MET"
print(f"one row, whole process (best of 20, not pinned): {one_wall} ms wall, {one_cpu} ms cpu "
      f"(target <= 10 ms: {verdict(one_cpu <= 10)} by cpu, {verdict(one_wall <= 10)} by wall)")
print(f"one row, peak resident memory: {peak} KiB = {peak / 1024:.1f} MiB (target <= 20 MiB: {verdict(peak <= 20 * 1024)})")
print(f"{n // 10} rows: jsonl {tenth[0]} s wall, {tenth[1]} s cpu; csv {tenthcsv[0]} s wall, {tenthcsv[1]} s cpu")
for name, (wall, cpu), target in (("jsonl", jsonl, 50000), ("csv", csv, 50000),
                                  ("jsonl + duty", dutyjsonl, 40000), ("csv + duty", dutycsv, 40000)):
    print(f"{n} rows, {name}: {wall} s wall, {cpu} s cpu: {n / wall:.0f} designs/s wall, {n / cpu:.0f} designs/s cpu "
          f"(target >= {target}: {verdict(n / cpu >= target)} by cpu, {verdict(n / wall >= target)} by wall)")
for name, small, large in (("jsonl", tenth, jsonl), ("csv", tenthcsv, csv)):
    print(f"growth x10 ({name}): {large[0] / small[0]:.2f} wall, {large[1] / small[1]:.2f} cpu "
          f"(target <= 10.5: {verdict(large[1] / small[1] <= 10.5)} by cpu, {verdict(large[0] / small[0] <= 10.5)} by wall)")
PY
