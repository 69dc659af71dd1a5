#!/bin/sh
# Speed and memory of tpworm-cli batch, end to end, on one core:
#   designs per second on a large CSV (default 1,000,000 rows), the whole
#   process for one row, the growth from N/10 to N rows, and the peak memory
#   of a one-row run. Usage: run-batch-bench.sh BUILD-DIR [ROWS]
#   Beside the one-row figure stand the floors of this machine: the same
#   measurement of programs that only start (plain C++, Qt Core, Qt Core with
#   Qt SQL reading one table), which no change to tpworm-cli can go below.
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

# The floor under the one-row figure, on this machine: programs that do
# nothing but start (plain C++; linked against Qt Core; Qt Core and Qt SQL
# with the SQLite driver reading one table of the rules database), built here
# when a compiler and Qt's pkg-config files are at hand.
floors=""
if command -v g++ >/dev/null && pkg-config --exists Qt6Core Qt6Sql 2>/dev/null; then
  printf 'int main() {}\n' > "$work/bare.cpp"
  printf '#include <QString>\n#include <cstdio>\nint main(int, char** argv) { std::printf("%%d", int(QString::fromLocal8Bit(argv[0]).size())); }\n' > "$work/qtcore.cpp"
  cat > "$work/qtsql.cpp" <<'CPP'
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>
int main(int, char** argv)
{
    int rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("r"));
        db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) return 1;
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT * FROM nzhi"));
        while (query.next()) ++rows;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("r"));
    std::printf("%d", rows);
}
CPP
  if g++ -O2 "$work/bare.cpp" -o "$work/bare" \
     && g++ -O2 -fPIC "$work/qtcore.cpp" -o "$work/qtcore" $(pkg-config --cflags --libs Qt6Core) \
     && g++ -O2 -fPIC "$work/qtsql.cpp" -o "$work/qtsql" $(pkg-config --cflags --libs Qt6Core Qt6Sql); then
    floors="$work/bare|$work/qtcore|$work/qtsql $build/db1.mdb"
  fi
fi

# /usr/bin/time counts in hundredths: the one-row run is timed in Python, on
# CPU 0 like the large runs, wall and CPU (user + sys of the child), best and
# median of 21; the floors the same way.
one=$(python3 - "$cli batch $work/1.csv" "$floors" <<'PY'
import os, statistics, sys, time
# CPU time from the child's own resource usage (microseconds; the process
# clock of os.times() counts in ticks of 10 ms). The child is spawned, not
# forked, so that its figure holds no copy of this Python; it inherits CPU 0.
os.sched_setaffinity(0, {0})
def run(argv):
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(argv))
    return wall, usage.ru_utime + usage.ru_stime
def measure(argv, runs=21):
    run(argv)  # the page cache
    walls, cpus = zip(*(run(argv) for _ in range(runs)))
    return (f"{min(walls) * 1000:.1f} {statistics.median(walls) * 1000:.1f} "
            f"{min(cpus) * 1000:.1f} {statistics.median(cpus) * 1000:.1f}")
print(measure(sys.argv[1].split()))
for floor in filter(None, sys.argv[2].split("|")):
    print(measure(floor.split()))
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
import os, sys
n = int(sys.argv[1])
lines = sys.argv[2].splitlines()
one_wall, one_wall_median, one_cpu, one_cpu_median = (float(x) for x in lines[0].split())
floors = [[float(x) for x in line.split()] for line in lines[1:]]
peak = int(sys.argv[3])
tenth, jsonl, tenthcsv, csv, dutyjsonl, dutycsv = ([float(x) for x in a.split()] for a in sys.argv[4:])
def verdict(ok): return "met" if ok else "NOT MET"
print("machine load (1, 5, 15 min): %.2f %.2f %.2f on %d CPUs" % (*os.getloadavg(), os.cpu_count()))
print(f"one row, whole process (CPU 0, best of 21; median in brackets): {one_wall} ({one_wall_median}) ms wall, "
      f"{one_cpu} ({one_cpu_median}) ms cpu "
      f"(target <= 10 ms: {verdict(one_cpu <= 10)} by cpu, {verdict(one_wall <= 10)} by wall)")
for name, floor in zip(("int main() {}", "a program linked against Qt Core",
                        "Qt Core + Qt SQL reading one table of db1.mdb"), floors):
    print(f"  floor, {name}: {floor[0]} ({floor[1]}) ms wall, {floor[2]} ({floor[3]}) ms cpu")
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
