"""Cross-check of tpworm-cli's geometry calculation against reference.py.

    crosscheck.py TPWORM-CLI [--seed N] [--random N] [--jobs N] [--list] [--only NAME]

Builds a fixed set of designs (hand-made edge cases plus seeded random ones),
runs `tpworm-cli calc --json` on each and compares every result label's
caption and warning colour, the completion flag, the messages and the exit
status with what the reference model says the window must show.  Exit status
0 when every design agrees (or differs exactly as listed in
EXPECTED_TO_DIFFER), 1 otherwise.
"""

import argparse
import json
import math
import os
import random
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference as R  # noqa: E402

# Designs on which the C++ calculation is known to differ from the reference
# and the C++ side is believed to be wrong; each entry names the reason.  A
# listed design that agrees again makes the run fail, so the list stays true.
EXPECTED_TO_DIFFER = {
}

TEETH_MESSAGE = "参数输入不合法，请输入合法参数........."

COEFFICIENTS = {
    # The shipped defaults.
    "default": "0.875,1.2,1,0.5,0,0.55,2,0,0.15,0.5,0.5,1,0.5,1,0.9,9",
    # Fractional additions and a fractional cap that bites.
    "shifted": "0.875,1.25,0.9,0.75,0,0.5,2.5,0.5,0.2,0.3,0.75,2,0.6,1.5,0.85,5.5",
    # More enclosed teeth, low cap, larger hob allowance.
    "wide": "0.9,1.1,1.05,0.25,0,0.6,1.5,1,0.1,0.75,1,1.5,0.45,0.5,0.95,4.5",
    # Working and hob half angles of exactly 90 degrees (z2 = 36): the
    # whole-number roundings of the worm and hob lengths meet exact halves.
    "quarter": "0.875,1.2,1,0.5,0,0.55,2,15,0.15,0.5,0.5,0.5,0.5,1,0.9,20",
    # As "quarter" with almost no dedendum: the wheel tip arc radius takes the
    # root of a negative number.
    "shallow": "0.875,0.01,1,0.5,0,0.55,2,15,0.15,0.5,0.5,0.5,0.5,1,0.9,20",
    # An addition one double below 1: K0 + N7 rounds up to a whole number
    # only when it is stored as a double.
    "nearone": "0.875,1.2,1,0.5,0,0.55,2,0.99999999999999989,0.15,0.5,0.5,1,0.5,1,0.9,9",
}


def coefficient_values(text):
    values = [float(c) for c in text.split(",")]
    # The program parses the list itself; the texts above are chosen so that
    # any sound parse gives these doubles.
    for c, v in zip(text.split(","), values):
        if float(R.dbl(R.str_to_float(c))) != v:
            raise SystemExit(f"coefficient text {c} is ambiguous between parses")
    return values


class Design:
    def __init__(self, name, fields, coefficients="default", whole=False, note=""):
        self.name = name
        self.fields = fields  # list of (field, text), set in this order
        self.coefficients = coefficients
        self.whole = whole
        self.note = note

    def argv(self, cli):
        args = [cli, "calc", "--json", "--coefficients", COEFFICIENTS[self.coefficients]]
        if self.whole:
            args.append("--whole-teeth")
        args += [f"{k}={v}" for k, v in self.fields]
        return args

    def describe(self):
        parts = [f"{k}={v!r}" for k, v in self.fields]
        return (f"{self.name}: coefficients {self.coefficients}"
                f"{', whole teeth' if self.whole else ''}; " + " ".join(parts))


# --------------------------------------------------------------------------
# What the window shows
# --------------------------------------------------------------------------

def _decimal_number(text):
    try:
        return R.str_to_float(text)
    except R.ParseError:
        return None


def window_fields(design):
    """The field texts when the calculation starts, with the messages the
    teeth and starts handlers show on the way (they clear both fields when
    either text is no number or the division fails)."""
    texts = {f"Edit{n}": "" for n in range(1, 14)}
    texts.update(Edit4="1", Edit6="0", Edit8="0", Edit13="0")
    messages = []
    for field, text in design.fields:
        if texts[field] == text:
            continue
        texts[field] = text
        if field in ("Edit3", "Edit4") and texts["Edit3"] and texts["Edit4"]:
            z2, z1 = _decimal_number(texts["Edit3"]), _decimal_number(texts["Edit4"])
            if z2 is None or z1 is None or z1 == 0:
                messages.append(TEETH_MESSAGE)
                texts["Edit3"] = texts["Edit4"] = ""
    return texts, messages


def expected(design, baseline):
    texts, messages = window_fields(design)
    outcome, window, calc_messages = R.calculate(
        texts, coefficient_values(COEFFICIENTS[design.coefficients]), design.whole)
    labels = {}
    for name, (caption, red) in baseline.items():
        n = int(name[len("Label"):])
        labels[name] = (window.captions.get(n, caption), window.red.get(n, red))
    return {
        "calculated": outcome == "completed",
        "messages": messages + calc_messages,
        "labels": labels,
        "status": 0 if outcome == "completed" else 1,
    }


def run_cli(cli, design):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    proc = subprocess.run(design.argv(cli), capture_output=True, env=env, timeout=60)
    try:
        doc = json.loads(proc.stdout.decode("utf-8"))
    except ValueError:
        return {"error": f"no JSON (status {proc.returncode}): "
                         f"{proc.stderr.decode('utf-8', 'replace')[:500]}",
                "status": proc.returncode}
    return {
        "calculated": doc.get("calculated"),
        "messages": doc.get("messages"),
        "labels": {k: (v["caption"], v["red"]) for k, v in doc.get("labels", {}).items()},
        "status": proc.returncode,
    }


def differences(want, got):
    if "error" in got:
        return [got["error"]]
    out = []
    for key in ("calculated", "messages", "status"):
        if want[key] != got[key]:
            out.append(f"{key}: reference {want[key]!r}, program {got[key]!r}")
    for name in sorted(set(want["labels"]) | set(got["labels"]), key=lambda s: int(s[5:])):
        w, g = want["labels"].get(name), got["labels"].get(name)
        if w is None or g is None:
            out.append(f"{name}: reference {w!r}, program {g!r}")
            continue
        if w[0] != g[0]:
            out.append(f"{name}: reference {w[0]!r}, program {g[0]!r}")
        if w[1] != g[1]:
            out.append(f"{name} red: reference {w[1]}, program {g[1]}")
    return out


# --------------------------------------------------------------------------
# The designs
# --------------------------------------------------------------------------

def design_fields(a, z2, z1, i, db, e, d1, j, dz):
    return [("Edit1", a), ("Edit3", z2), ("Edit4", z1), ("Edit2", i), ("Edit5", db),
            ("Edit6", e), ("Edit7", d1), ("Edit8", j), ("Edit13", dz)]


def with_field(fields, field, text):
    return [(k, text if k == field else v) for k, v in fields]


EXAMPLE = design_fields("250", "45", "2", "22.5", "160", "2", "90", "0.3", "0.5")


def reference_caption(fields, label, coefficients="default", whole=False):
    texts = dict(fields)
    _, window, _ = R.calculate(texts, coefficient_values(COEFFICIENTS[coefficients]), whole)
    caption = window.captions.get(label)
    return caption.split("---")[0] if caption else None


def tuned(fields, field, start, step, label, wanted, coefficients="default", limit=4000):
    """fields with `field` moved from start in steps until the reference shows
    `wanted` in `label`: boundary values reached through the whole formula."""
    for k in range(limit):
        for sign in (1, -1):
            value = round(start + sign * k * step, 6)
            text = f"{value:.3f}".rstrip("0").rstrip(".")
            candidate = with_field(fields, field, text)
            if reference_caption(candidate, label, coefficients) == wanted:
                return candidate
    raise SystemExit(f"no {field} gives {wanted} in Label{label}")


def edge_designs():
    d = []
    add = lambda name, fields, coefficients="default", whole=False: d.append(
        Design(name, fields, coefficients, whole))

    add("example", EXAMPLE)
    add("example-whole", EXAMPLE, whole=True)
    for c in ("shifted", "wide"):
        add(f"example-{c}", EXAMPLE, c)
        add(f"example-{c}-whole", EXAMPLE, c, True)

    # Ratio check and ratio classes.
    base40 = design_fields("200", "40", "1", "40", "130", "1.5", "72", "0.25", "0.5")
    for i in ("40.001", "40.0011", "39.999", "39.9989", "40.0009999", "-40"):
        add(f"ratio-{i}", with_field(base40, "Edit2", i))
    for i in ("22.501", "22.499", "22.5011", "22.4989"):
        add(f"ratio-{i}", with_field(EXAMPLE, "Edit2", i))
    for n, (z2, z1, i) in enumerate((("40", "4", "10"), ("19", "2", "9.5"), ("31", "1", "31"),
                                     ("61", "2", "30.5"), ("31", "1", "30.999"),
                                     ("30", "1", "30.001"), ("99", "9", "11"),
                                     ("75", "1", "75"), ("150", "1", "150"), ("15", "2", "7.5"),
                                     ("31", "1", "30.9991"), ("30", "1", "30.0009"))):
        f = design_fields("160", z2, z1, i, "105", "1", "58", "0.2", "0.5")
        add(f"class-{z2}-{z1}-{i}{'-whole' if n % 2 else ''}", f, whole=bool(n % 2))

    # Parse failures and texts that do parse.
    for field in ("Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8",
                  "Edit13"):
        add(f"empty-{field}", with_field(EXAMPLE, field, ""))
    for field, text in (("Edit5", "1,5"), ("Edit6", "abc"), ("Edit7", "90a"),
                        ("Edit8", "0.3 mm"), ("Edit13", "--1"), ("Edit3", "45 "),
                        ("Edit3", "4x"), ("Edit3", "4.5"), ("Edit5", "1e5000"),
                        ("Edit13", "1e400"), ("Edit6", "1e400"), ("Edit7", "E5")):
        add(f"invalid-{field}-{text}", with_field(EXAMPLE, field, text))
    for field, text in (("Edit6", "."), ("Edit8", " 0.3 "), ("Edit3", " 45"),
                        ("Edit1", "+250"), ("Edit1", "2.5e2"), ("Edit7", "9E1"),
                        ("Edit5", "160."), ("Edit13", "-.5"), ("Edit6", "-1.25"),
                        ("Edit8", "+0.3e0"), ("Edit6", "0.00001"), ("Edit6", "-0.00009"),
                        ("Edit6", "0.000123456789012345678"), ("Edit6", "1e15"),
                        ("Edit6", "123456789012345678"), ("Edit6", "0.0001"),
                        ("Edit8", "0.123456789012345678"), ("Edit7", "90.00000000000001"),
                        ("Edit5", "1e16"), ("Edit5", "1e400"), ("Edit7", "1e400"),
                        ("Edit13", "0.000000000000000001"), ("Edit6", "-0"),
                        ("Edit6", "123456789012344.5"), ("Edit6", "-123456789012344.5")):
        add(f"parses-{field}-{text}", with_field(EXAMPLE, field, text))

    # Arithmetic faults, each at its own step.
    add("fault-starts-zero", design_fields("250", "45", "0", "22.5", "160", "2", "90", "0.3", "0.5"))
    add("fault-teeth-zero", design_fields("250", "0", "2", "0", "160", "2", "90", "0.3", "0.5"))
    add("teeth-zero-ratio-not-zero", design_fields("250", "0", "2", "1", "160", "2", "90", "0.3", "0.5"))
    add("fault-teeth-negative", design_fields("250", "-45", "2", "-22.5", "160", "2", "90", "0.3", "0.5"))
    add("fault-counts-negative", design_fields("250", "-45", "-2", "22.5", "160", "2", "90", "0.3", "0.5"))
    add("ratio-before-counts", design_fields("250", "-45", "2", "22.5", "160", "2", "90", "0.3", "0.5"))
    add("fault-base-above-wheel", with_field(EXAMPLE, "Edit5", "410.001"))
    add("base-equals-wheel", with_field(EXAMPLE, "Edit5", "410"))
    add("fault-worm-diameter-zero", with_field(EXAMPLE, "Edit7", "0"))
    add("fault-tip-arc-below-half-length", with_field(EXAMPLE, "Edit6", "-150"))
    quarter = design_fields("250", "36", "1", "36", "160", "20", "90", "0.3", "0.5")
    add("fault-root-arc-below-half-length", quarter, "shallow")
    add("fault-tooth-wider-than-wheel", design_fields("250", "1", "1", "1", "160", "2", "90", "0.3", "0.5"))
    add("fault-modified-teeth-zero", with_field(EXAMPLE, "Edit13", "-45"))
    add("fault-modified-ratio-zero", with_field(EXAMPLE, "Edit13", "-44.9996"))
    add("modified-ratio-rounds-up", with_field(EXAMPLE, "Edit13", "-44.999"))

    # Whole-number roundings meeting exact halves (sin 90 degrees is 1).
    for d1 in ("90", "90.5", "91.5", "89.5", "90.25"):
        add(f"quarter-d1-{d1}", with_field(quarter, "Edit7", d1), "quarter")
        add(f"quarter-d1-{d1}-whole", with_field(quarter, "Edit7", d1), "quarter", True)

    # Enclosed teeth: halves, caps after truncation, tiny wheels.
    for z2 in ("9", "44", "45", "49", "50", "55", "65", "99", "100", "104", "105"):
        f = design_fields("300", z2, "1", z2, "190", "2.5", "105", "0.3", "0.5")
        for c, whole in (("default", False), ("default", True), ("shifted", False),
                         ("shifted", True), ("wide", True)):
            add(f"teeth-{z2}-{c}{'-whole' if whole else ''}", f, c, whole)
    for z2 in ("40", "45"):
        f = design_fields("300", z2, "1", z2, "190", "2.5", "105", "0.3", "0.5")
        add(f"teeth-{z2}-nearone", f, "nearone")
        add(f"teeth-{z2}-nearone-whole", f, "nearone", True)

    # Warning limits reached through the formulas.
    for wanted in ("20.5", "24.5", "20.499", "24.501"):
        start = 410 * math.sin(math.radians(float(wanted)))
        f = tuned(EXAMPLE, "Edit5", start, 0.001, 14, wanted)
        add(f"alpha-{wanted}", f)
    small = design_fields("100", "15", "2", "7.5", "60", "1", "44.47", "0.1", "0.5")
    for wanted in ("25", "25.001", "24.999"):
        add(f"gamma-{wanted}", tuned(small, "Edit7", 44.47, 0.001, 28, wanted))
    tiny = design_fields("70", "40", "1", "40", "65", "0.5", "36", "0.1", "0")
    for wanted in ("30", "29.99", "30.01"):
        add(f"root-{wanted}", tuned(tiny, "Edit7", 36, 0.001, 53, wanted))

    # Whole parts of products that are whole in decimal but fall just below
    # in binary: 2.5 x 1.2 and 0.85 x 100 are a hair under 3 and 85 in extended.
    add("shoulder-product-below-whole",
        design_fields("80", "100", "2", "50", "45", "1", "40", "0.1", "0.5"), "shifted")
    add("rim-product-below-whole", with_field(EXAMPLE, "Edit7", "100"), "shifted")

    # RoundTo rounds through a 64-bit integer: a tip arc radius of 9.2e15 mm
    # still rounds to thousandths, 9.3e15 overflows it.
    add("roundto-quotient-fits", with_field(EXAMPLE, "Edit6", "9.2e15"))
    add("fault-roundto-quotient-overflows", with_field(EXAMPLE, "Edit6", "9.3e15"))

    # Negative tooth thicknesses and widths from a large backlash.
    add("backlash-large", with_field(EXAMPLE, "Edit8", "20"))
    add("backlash-negative", with_field(EXAMPLE, "Edit8", "-0.3"))
    # Extreme but accepted sizes.
    add("centre-2000", design_fields("2000", "300", "2", "150", "2100", "10", "700", "1.2", "1"))
    add("centre-70-z150", design_fields("70", "150", "1", "150", "75", "0.5", "25", "0.05", "0.5"))
    add("centre-99999", design_fields("99999", "999", "9", "111", "100000", "100", "40000", "5", "2"))
    add("centre-0.001", design_fields("0.001", "40", "1", "40", "0.001", "0", "0.001", "0", "0"))
    return d


def _fmt(x, decimals):
    text = f"{x:.{decimals}f}"
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def random_design(rng, n):
    ratio = math.exp(rng.uniform(math.log(7.5), math.log(150)))
    z1 = rng.choice([1, 1, 1, 2, 2, 3, 4, 4, 5, 6])
    z2 = max(10, min(999, round(ratio * z1)))
    if rng.random() < 0.5:
        a = rng.randint(70, 1500)
        a_text = str(a)
    else:
        a = round(rng.uniform(70, 999), 1)
        a_text = _fmt(a, 1)
        if a < 100 and rng.random() < 0.5:
            a = round(rng.uniform(70, 99.99), 2)
            a_text = _fmt(a, 2)
        a = float(a_text)
    exact = z2 / z1
    roll = rng.random()
    if z2 % z1 == 0:
        i_text = str(z2 // z1)
    elif roll < 0.6:
        i_text = repr(round(exact, 13))
    elif roll < 0.9:
        i_text = _fmt(exact, rng.choice([3, 4, 6]))
    else:
        i_text = _fmt(exact + rng.choice([-1, 1]) * rng.uniform(0.0005, 0.003), 4)
    d1 = a * rng.uniform(0.28, 0.46)
    d1_text = _fmt(d1, rng.choice([0, 1, 2, 3, 4, 4]))
    d2 = 2 * a - float(d1_text)
    alpha = rng.uniform(19.5, 25.5)
    db_text = _fmt(d2 * math.sin(math.radians(alpha)), rng.choice([0, 1, 2, 3]))
    e_text = _fmt(rng.uniform(0, 0.012 * a), rng.choice([0, 1, 2, 3, 4]))
    j_text = _fmt(rng.uniform(0.05, 0.4) * math.sqrt(a / 250), rng.choice([2, 3]))
    dz_text = rng.choice(["0", "0.5", "1", "0.25", "1.5", "-0.5", "2", "0.75",
                          _fmt(rng.uniform(-1, 3), 2)])
    coefficients = rng.choice(["default", "default", "default", "shifted", "wide"])
    fields = design_fields(a_text, str(z2), str(z1), i_text, db_text, e_text, d1_text, j_text, dz_text)
    return Design(f"random-{n:03d}", fields, coefficients, rng.random() < 0.5)


# Designs found by sensitive.py: each tells the precision rules apart from one
# plausible misreading of them (named first), so a program that reads the
# rule that way disagrees on it.
SENSITIVE_DESIGNS = [
    ("a-extended-0", ["221.2", "520", "4", "130", "139.723", "0.9", "70.8433", "0.16", "0"], "default", False),
    ("a-extended-1", ["491.6", "29", "2", "14.5", "314", "3.1", "186.59", "0.53", "1"], "default", False),
    ("ratio-extended-0", ["140", "669", "5", "133.801", "87.674", "0.5", "43.81", "0.1", "0.5"], "default", True),
    ("ratio-extended-1", ["982", "81", "5", "16.199", "619.5", "6.658", "401", "0.355", "0.25"], "shifted", False),
    ("d1-extended-0", ["1359", "10", "1", "10", "914.1", "10.7232", "523.7654", "0.434", "0.75"], "default", True),
    ("d1-extended-1", ["671.6", "82", "6", "13.6666666666667", "393.67", "5.045", "262.1745", "0.49", "2"], "shifted", True),
    ("j-extended-0", ["816", "455", "6", "75.8333333333333", "521.67", "6.4", "346.52", "0.53", "0.5"], "shifted", True),
    ("j-extended-1", ["728", "121", "4", "30.25", "411.683", "3.1", "229.7573", "0.54", "-0.5"], "shifted", False),
    ("da1-extended-0", ["1082", "45", "3", "15", "727.44", "1.4685", "327.8", "0.203", "0.5"], "shifted", False),
    ("da1-extended-1", ["248", "36", "2", "18", "150.13", "2", "113.625", "0.332", "0.5"], "wide", True),
    ("factor-exact-0", ["957.6", "47", "1", "47", "651.404", "5.52", "350", "0.16", "1.5"], "shifted", False),
    ("factor-exact-1", ["1105", "462", "4", "115.5", "675.991", "6.7", "447.184", "0.62", "0.25"], "shifted", True),
    ("roundto-extended-argument-0", ["684", "162", "2", "81", "404", "0.969", "299.2669", "0.178", "0.75"], "shifted", True),
    ("roundto-extended-argument-1", ["526", "185", "5", "37", "342.08", "4.7", "221.9", "0.174", "0"], "default", False),
    ("roundto-half-away-0", ["93", "127", "6", "21.1666666666667", "57", "0.6", "27.25", "0.07", "1"], "default", False),
    ("roundto-half-away-1", ["1423", "10", "1", "10", "1000.596", "7.47", "501", "0.571", "0.75"], "default", False),
    ("constants-double-0", ["300.2", "160", "3", "53.3333333333333", "185.33", "1", "118.0688", "0.27", "-0.03"], "wide", True),
    ("constants-double-1", ["944", "60", "4", "15", "533.1", "7.73", "386.2", "0.24", "1.5"], "default", True),
    ("whole-part-of-double-0", ["418.9", "163", "4", "40.75", "258.101", "1.22", "120", "0.157", "1.5"], "shifted", True),
    ("whole-part-of-double-1", ["1454", "225", "2", "112.5", "837", "2.13", "640", "0.305", "1"], "shifted", True),
]


def sensitive_designs():
    return [Design(name, design_fields(*fields), coefficients, whole)
            for name, fields, coefficients, whole in SENSITIVE_DESIGNS]


def all_designs(seed, count):
    rng = random.Random(seed)
    return (edge_designs() + sensitive_designs()
            + [random_design(rng, n) for n in range(count)])


# --------------------------------------------------------------------------

def baseline_labels(cli):
    """The captions as the program starts: a ratio mismatch writes none."""
    probe = Design("baseline", with_field(EXAMPLE, "Edit2", "30"))
    got = run_cli(cli, probe)
    if "error" in got:
        raise SystemExit(f"cannot run {cli}: {got['error']}")
    if got["messages"] != [R.RATIO_MESSAGE]:
        raise SystemExit(f"ratio mismatch not reported: {got['messages']!r}")
    return got["labels"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--seed", type=int, default=20261210)
    parser.add_argument("--random", type=int, default=120)
    parser.add_argument("--jobs", type=int, default=4)
    parser.add_argument("--only")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()

    designs = all_designs(args.seed, args.random)
    if args.only:
        designs = [d for d in designs if d.name == args.only]
    if args.list:
        for d in designs:
            print(d.describe())
        return 0
    names = [d.name for d in designs]
    if len(set(names)) != len(names):
        raise SystemExit("design names are not unique")
    baseline = baseline_labels(args.cli)
    if len(baseline) != len(R.SUFFIX):
        raise SystemExit(f"the program reports {len(baseline)} result labels, "
                         f"the reference {len(R.SUFFIX)}")

    wanted = [expected(design, baseline) for design in designs]
    with ThreadPoolExecutor(max_workers=args.jobs) as pool:
        got = list(pool.map(lambda design: run_cli(args.cli, design), designs))
    results = [(d, differences(w, g)) for d, w, g in zip(designs, wanted, got)]

    failures = 0
    outcomes = {"completed": 0, "failed": 0}
    for design, diffs in results:
        listed = design.name in EXPECTED_TO_DIFFER
        if diffs and not listed:
            failures += 1
            print(f"DIFFERS {design.describe()}")
            for line in diffs:
                print(f"    {line}")
        elif diffs:
            print(f"differs as expected ({EXPECTED_TO_DIFFER[design.name]}): {design.name}")
        elif listed:
            failures += 1
            print(f"AGREES although listed as expected to differ: {design.name}")
    for want in wanted:
        outcomes["completed" if want["calculated"] else "failed"] += 1
    print(f"{len(designs)} designs ({outcomes['completed']} complete, "
          f"{outcomes['failed']} end in a message), {failures} disagree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
