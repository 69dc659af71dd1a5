#!/usr/bin/env python3
"""Cross-check of tpworm-cli batch against tpworm-cli design --json.

Generates designs of every kind (valid and faulty drive data, all grades,
whole teeth on and off, standard backlash on and off, overrides of Edit5,
Edit8, Edit13), runs them all through one `tpworm-cli batch`, then each through
its own `tpworm-cli design --json`, and compares the documents key for key,
messages included. Usage: crosscheck-batch.py BUILD-DIR [COUNT=20000]
"""
import json
import random
import subprocess
import sys

build = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
cli = f"{build}/tpworm-cli"
rng = random.Random(20000)
distances = ["70", "100", "125", "160", "200", "250", "315", "400", "500", "630", "1000", "63", "", "25O", "-40", "250.5"]
teeth = ["29", "31", "40", "45", "50", "61", "80", "120", "", "4x", "0"]
starts = ["1", "2", "3", "4", "6", "", "0"]
overrides = ["", "", "", "", "150", "abc", "0", "1e3"]

rows = []
for _ in range(count):
    rows.append(dict(a=rng.choice(distances), teeth=rng.choice(teeth), starts=rng.choice(starts),
                     grade=rng.choice("678"), backlash=rng.choice(["yes", "no"]), whole=rng.choice(["yes", "no"]),
                     edit5=rng.choice(overrides), edit8=rng.choice(["", "", "", "0.2"]),
                     edit13=rng.choice(["", "", "", "", "1"])))

csv = "centre_distance,teeth,starts,grade,standard_backlash,whole_teeth,Edit5,Edit8,Edit13\n" + "".join(
    f"{r['a']},{r['teeth']},{r['starts']},{r['grade']},{r['backlash']},{r['whole']},{r['edit5']},{r['edit8']},{r['edit13']}\n"
    for r in rows)
batch = subprocess.run([cli, "batch", "-"], input=csv.encode(), capture_output=True, check=False)
records = [json.loads(line) for line in batch.stdout.decode().splitlines()]
assert len(records) == count, (len(records), batch.stderr.decode()[:500])

differ = 0
calculated = 0
for k, r in enumerate(rows):
    args = [cli, "design", "--json", "--centre-distance", r["a"], "--teeth", r["teeth"], "--grade", r["grade"]]
    if r["starts"]:
        args += ["--starts", r["starts"]]
    if r["backlash"] == "no":
        args.append("--no-standard-backlash")
    if r["whole"] == "yes":
        args.append("--whole-teeth")
    for name in ("edit5", "edit8", "edit13"):
        if r[name]:
            args.append(f"Edit{name[4:]}={r[name]}")
    design = json.loads(subprocess.run(args, capture_output=True, check=False).stdout.decode())
    record = records[k]
    if record.pop("row") != k + 1 or record != design:
        differ += 1
        if differ <= 5:
            print(f"row {k + 1} differs: {' '.join(args[1:])}")
    calculated += design["calculated"]

print(f"{count} designs, {calculated} calculated, {count - calculated} not; {differ} differ")
sys.exit(1 if differ else 0)
