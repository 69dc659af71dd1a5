#!/usr/bin/python3
"""The workbook-engine rows of the speed table, measured and printed.

  bench/workbook/workbook_rows.py BUILD-DIR [--runs N] [--out-dir DIR]

Row 1: `tpworm-cli workbook set` on the generated 100,000-text-cell workbook
(about 3.1 MB), 25 cells: median wall time of N whole-process runs and the
peak memory (maximum resident set) of the largest run, against python3-xlrd
only reading the same file. Row 2: the same engine in-process (load, 25
cells, save) on 1,000 / 10,000 / 100,000 cells, medians from workbook_bench,
and the growth 10x cells -> x time.

The output file of `workbook set` is written where --out-dir says (default: a
temporary folder); the engine flushes it to the disk before renaming it into
place, so the disk under that folder is part of the figure.

The last lines are KEY=VALUE pairs for scripts (bench table of issue 14):
workbook_set_ms, workbook_set_cpu_ms, workbook_set_peak_mib, workbook_set_file_bytes,
xlrd_read_ms, inprocess_1k_ms, inprocess_10k_ms, inprocess_100k_ms,
growth_10k_over_1k, growth_100k_over_10k.
"""
import argparse
import json
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def run_child(argv):
    """Wall time (s), the child's maximum resident set (KiB) and its CPU time
    (user + system, s) of one run."""
    start = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, 1)
        os.execv(argv[0], argv)
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(argv)}")
    return elapsed, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--out-dir")
    args = parser.parse_args()
    cli = os.path.join(args.build, "tpworm-cli")
    bench = os.path.join(args.build, "bench", "workbook_bench")
    with tempfile.TemporaryDirectory() as work:
        inputs = os.path.join(work, "in")
        subprocess.run([bench, "--write-inputs", inputs], check=True)
        source = os.path.join(inputs, "cells-100000.xls")
        out_dir = args.out_dir or work
        target = os.path.join(out_dir, "workbook-set-out.xls")
        cells = [f"C{3 + k}=value {k} 设计" for k in range(25)]
        argv = [cli, "workbook", "set", source, target] + cells
        run_child(argv)  # warm the page cache
        times, peaks, cpus = [], [], []
        for _ in range(args.runs):
            t, rss, cpu = run_child(argv)
            times.append(t)
            peaks.append(rss)
            cpus.append(cpu)
        set_ms = statistics.median(times) * 1000
        set_cpu_ms = statistics.median(cpus) * 1000
        peak_mib = max(peaks) / 1024
        size = os.path.getsize(source)
        if os.path.exists(target) and out_dir != work:
            os.remove(target)

        xlrd = subprocess.run(["/usr/bin/python3", "-c", (
            "import sys, time, statistics, xlrd\n"
            "ts = []\n"
            "for _ in range(5):\n"
            "    t = time.perf_counter(); xlrd.open_workbook(sys.argv[1]); ts.append(time.perf_counter() - t)\n"
            "print(statistics.median(ts) * 1000)"), source], capture_output=True, text=True)
        xlrd_ms = float(xlrd.stdout) if xlrd.returncode == 0 else float("nan")

        report = subprocess.run([bench, "--benchmark_filter=LoadSet25Save/(1000|10000|100000)$",
                                 "--benchmark_repetitions=7", "--benchmark_format=json"],
                                capture_output=True, text=True, check=True)
        medians, cpu_medians = {}, {}
        for b in json.loads(report.stdout)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                cells_n = int(b["run_name"].split("/")[1])
                scale = {"ms": 1.0, "us": 1e-3, "ns": 1e-6}[b["time_unit"]]
                medians[cells_n] = b["real_time"] * scale
                cpu_medians[cells_n] = b["cpu_time"] * scale

    target_mib = 2 * size / 2**20 + 15
    print(f"tpworm-cli workbook set, 100,000 text cells ({size / 1e6:.1f} MB), 25 cells: "
          f"{set_ms:.1f} ms (CPU {set_cpu_ms:.1f} ms), {peak_mib:.1f} MiB peak (median of {args.runs}; target <= 50 ms, "
          f"<= {target_mib:.1f} MiB); python3-xlrd only reading it: {xlrd_ms:.0f} ms "
          f"(ratio {set_ms / xlrd_ms:.2f})")
    g1 = medians[10000] / medians[1000]
    g2 = medians[100000] / medians[10000]
    print(f"in-process load + 25 cells + save, 1k / 10k / 100k cells: {medians[1000]:.2f} / "
          f"{medians[10000]:.2f} / {medians[100000]:.1f} ms; 10x cells -> {g1:.2f}x / {g2:.2f}x time "
          f"(target <= 10.5x)")
    c1 = cpu_medians[10000] / cpu_medians[1000]
    c2 = cpu_medians[100000] / cpu_medians[10000]
    print(f"  the same in CPU time: {cpu_medians[1000]:.2f} / {cpu_medians[10000]:.2f} / {cpu_medians[100000]:.1f} ms; "
          f"10x cells -> {c1:.2f}x / {c2:.2f}x")
    for key, value in [("workbook_set_ms", f"{set_ms:.2f}"), ("workbook_set_cpu_ms", f"{set_cpu_ms:.2f}"), ("workbook_set_peak_mib", f"{peak_mib:.2f}"),
                       ("workbook_set_file_bytes", size), ("xlrd_read_ms", f"{xlrd_ms:.2f}"),
                       ("inprocess_1k_ms", f"{medians[1000]:.3f}"), ("inprocess_10k_ms", f"{medians[10000]:.3f}"),
                       ("inprocess_100k_ms", f"{medians[100000]:.3f}"), ("growth_10k_over_1k", f"{g1:.3f}"),
                       ("growth_100k_over_10k", f"{g2:.3f}")]:
        print(f"{key}={value}")


if __name__ == "__main__":
    main()
