"""Finds designs that tell apart the precision rules from plausible misreadings.

    sensitive.py [--tries N] [--seed N]

Each mutant below is reference.py with one rule read differently (a value
kept extended where the program stores a double, the rounding factor taken
exactly, ties away from zero, ...).  Random designs are run through the
reference and every mutant; for each mutant the first designs whose window
differs are printed as rows for SENSITIVE_DESIGNS in crosscheck.py.  A mutant
no design can tell apart is reported as such (it may be equivalent).
"""

import argparse
import os
import random
import sys
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import crosscheck as C  # noqa: E402

MUTANTS = {
    "a-extended": [('a = dbl(str_to_float(f["Edit1"]))', 'a = str_to_float(f["Edit1"])')],
    "ratio-extended": [('i = dbl(str_to_float(f["Edit2"]))', 'i = str_to_float(f["Edit2"])')],
    "d1-extended": [('d1 = dbl(str_to_float(f["Edit7"]))', 'd1 = str_to_float(f["Edit7"])')],
    "e-extended": [('e = dbl(str_to_float(f["Edit6"]))', 'e = str_to_float(f["Edit6"])')],
    "j-extended": [('j = dbl(str_to_float(f["Edit8"]))', 'j = str_to_float(f["Edit8"])')],
    "db-extended": [('db = dbl(str_to_float(f["Edit5"]))', 'db = str_to_float(f["Edit5"])')],
    "dz-extended": [('dz = dbl(str_to_float(f["Edit13"]))', 'dz = str_to_float(f["Edit13"])')],
    "da1-extended": [("da1 = dbl(2 * ha + d1)", "da1 = 2 * ha + d1")],
    "gamma-rad-extended": [("gamma_r = dbl(np.arctan(d2 / i / d1))",
                            "gamma_r = np.arctan(d2 / i / d1)")],
    "modified-extended": [("a_m = dbl(dz * mt / 2 + a)", "a_m = dz * mt / 2 + a"),
                          ("d2_m = dbl((z2 + dz) * mt)", "d2_m = (z2 + dz) * mt"),
                          ("db_m = dbl(np.sin(deg_to_rad(alpha)) * d2_m)",
                           "db_m = np.sin(deg_to_rad(alpha)) * d2_m"),
                          ("alpha_m = dbl(arcsin(db_m / d2_m) * 180 / PI)",
                           "alpha_m = arcsin(db_m / d2_m) * 180 / PI")],
    "tilt-parts-double": [("r = d2 / a / 2", "r = dbl(d2 / a / 2)"),
                          ("c1 = np.cos(deg_to_rad(delta + alpha))",
                           "c1 = dbl(np.cos(deg_to_rad(delta + alpha)))"),
                          ("c0 = np.cos(deg_to_rad(alpha))", "c0 = dbl(np.cos(deg_to_rad(alpha)))")],
    "factor-exact": [("return dbl(E(1) / E(10 ** -digit))", "return E(1) / E(10 ** -digit)")],
    "roundto-extended-argument": [("q = dbl(x) / f", "q = E(x) / f")],
    "roundto-half-away": [("n = _whole(np.rint(q))", "n = _whole(np.trunc(q + np.copysign(E(0.5), q)))")],
    "roundto-half-up-decimal": [("n = _whole(np.rint(q))", "n = _whole(np.floor(q + E(0.5)))")],
    "degrees-times-pi-over-180": [("return E(x) * DEG", "return E(x) * PI / E(180)")],
    "radians-times-180-over-pi": [("* 180 / PI", "* (E(180) / PI)")],
    "arcsin-library": [("return np.arctan2(x, np.sqrt(E(1) - x * x))", "return np.arcsin(x)")],
    "constants-double": [('str_to_float("0.2")', "E(0.2)"), ('str_to_float("0.001")', "E(0.001)"),
                         ('str_to_float("30.99")', "E(30.99)")],
    "display-double": [("    x = E(x)\n    if x == 0:", "    x = E(np.float64(x))\n    if x == 0:")],
    "display-half-even": [("rounding=ROUND_HALF_UP", "rounding='ROUND_HALF_EVEN'")],
    "parse-direct-double": [("value = extended_from_fraction(Fraction(mant) * Fraction(10) ** exponent)",
                             "value = E(float(Fraction(mant) * Fraction(10) ** exponent))")],
    "whole-part-of-double": [("shoulder = trunc(N[6] * mt)", "shoulder = trunc(dbl(N[6] * mt))"),
                             ("b2 = trunc(N[14] * d1)", "b2 = trunc(dbl(N[14] * d1))")],
    "enclosed-extended": [("K = dbl(E(z2 // 5) / 2 + N[7])", "K = E(z2 // 5) / 2 + N[7]"),
                          ("K = dbl(trunc(K))", "K = E(trunc(K))")],
}


def mutant_module(name, edits):
    source = open(os.path.join(HERE, "reference.py"), encoding="utf-8").read()
    for old, new in edits:
        if old not in source:
            raise SystemExit(f"mutant {name}: text not found: {old}")
        source = source.replace(old, new)
    module = types.ModuleType(f"mutant_{name}")
    exec(compile(source, f"<{name}>", "exec"), module.__dict__)
    return module


def window(model, design):
    texts, messages = C.window_fields(design)
    outcome, w, calc_messages = model.calculate(
        texts, C.coefficient_values(C.COEFFICIENTS[design.coefficients]), design.whole)
    return outcome, sorted(w.captions.items()), sorted(w.red.items()), messages + calc_messages


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tries", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--per-mutant", type=int, default=2)
    args = parser.parse_args()
    mutants = {name: mutant_module(name, edits) for name, edits in MUTANTS.items()}
    found = {name: [] for name in mutants}
    rng = random.Random(args.seed)
    for n in range(args.tries):
        design = C.random_design(rng, n)
        want = window(C.R, design)
        for name, model in mutants.items():
            if len(found[name]) >= args.per_mutant:
                continue
            if window(model, design) != want:
                found[name].append(design)
        if all(len(v) >= args.per_mutant for v in found.values()):
            break
    for name, designs in found.items():
        if not designs:
            print(f"# {name}: no design among {args.tries} tells it apart")
        for k, d in enumerate(designs):
            fields = ", ".join(f'"{v}"' for _, v in d.fields)
            print(f'    ("{name}-{k}", [{fields}], "{d.coefficients}", {d.whole}),')


if __name__ == "__main__":
    main()
