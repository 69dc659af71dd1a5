#!/usr/bin/python3
"""Checks the drawings and the design report of generated designs against
independent readers: ezdxf (DXF audit, layers, dimension texts), LibreCAD's
headless dxf2pdf (renders each DXF), the Python XML parser (SVG texts) and
poppler's pdftotext (every result caption of the window in the report).

The expected texts come from `tpworm-cli design --json`, which prints every
result label's caption exactly as the window shows it.

    check_outputs.py --cli build/tpworm-cli [--designs N] [--seed S] [--drawings]

With --designs N, N designs beyond the fixed ones are drawn at random (centre
distance 50 ... 1000, teeth 25 ... 90, starts 1 ... 6) and only their reports
are checked; the fixed design 250/45/2 always gets every check.
"""
import argparse
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import ezdxf

OUTLINE_LAYERS = {"outline", "centre", "hatch", "dimension", "text", "frame"}


def cli(args, command):
    return subprocess.run([args.cli] + command, capture_output=True, text=True, timeout=120)


def design_json(args, drive):
    r = cli(args, ["design", "--json"] + drive)
    return json.loads(r.stdout)


def value(doc, label):
    """The value part of a result caption: before the dashes."""
    return doc["labels"][label]["caption"].split("-----")[0].split("----")[0]


def squeeze(text):
    return re.sub(r"\s+", "", text)


def dxf_texts(doc):
    """Every text a CAD user sees: TEXT entities and dimension texts, in model
    space and in every block, with %%c read as Ø."""
    out = []
    for layout in [doc.modelspace()] + list(doc.blocks):
        for e in layout:
            if e.dxftype() == "TEXT":
                out.append(e.plain_text())
            elif e.dxftype() == "DIMENSION":
                out.append(e.dxf.text.replace("%%c", "Ø").replace("%%C", "Ø"))
    return out


def expected_dimensions(doc, part):
    # Throat diameter, tip diameter and working length of each part.
    if part == "worm":
        return ["Ø" + value(doc, "Label53"), "Ø" + value(doc, "Label48"), value(doc, "Label10")]
    if part == "wheel":
        return ["Ø" + value(doc, "Label35"), "Ø" + value(doc, "Label33"), value(doc, "Label34")]
    return ["R" + value(doc, "Label18"), "R" + value(doc, "Label19"), value(doc, "Label20")]


def check_dxf(path, doc, part, failures):
    drawing = ezdxf.readfile(path)
    auditor = drawing.audit()
    if auditor.has_errors:
        failures.append(f"{path}: {len(auditor.errors)} audit errors: {auditor.errors[0].message}")
    if auditor.has_fixes:
        failures.append(f"{path}: the audit had to repair {len(auditor.fixes)} things: {auditor.fixes[0].message}")
    layers = {layer.dxf.name for layer in drawing.layers}
    if not OUTLINE_LAYERS <= layers:
        failures.append(f"{path}: layers {sorted(layers)} lack {sorted(OUTLINE_LAYERS - layers)}")
    if not any(e.dxf.layer == "outline" for e in drawing.modelspace()):
        failures.append(f"{path}: nothing on the outline layer in model space")
    if drawing.header.get("$INSUNITS") != 4:
        failures.append(f"{path}: not in millimetres")
    dims = [e.dxf.text.replace("%%c", "Ø") for layout in [drawing.modelspace()] + list(drawing.blocks)
            for e in layout if e.dxftype() == "DIMENSION"]
    for text in expected_dimensions(doc, part):
        if text not in dims:
            failures.append(f"{path}: no dimension {text} among {dims}")
    # Model space holds the main view at 1:1: the length dimensions measure
    # what they say.
    for e in drawing.modelspace().query("DIMENSION"):
        text = e.dxf.text
        if e.dimtype in (0, 1) and re.fullmatch(r"\d+(\.\d+)?", text):
            if abs(e.get_measurement() - float(text)) > 0.01:
                failures.append(f"{path}: dimension {text} measures {e.get_measurement()}")


def check_svg(path, doc, part, failures):
    tree = ET.parse(path)
    texts = [squeeze("".join(t.itertext())) for t in tree.iter() if t.tag.endswith("text")]
    for text in expected_dimensions(doc, part):
        if squeeze(text) not in texts:
            failures.append(f"{path}: no text {text}")


def check_librecad(path, failures):
    """LibreCAD renders the DXF to a PDF beside it (its dxf2pdf command)."""
    out = os.path.splitext(path)[0] + ".pdf"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    r = subprocess.run(["librecad", "dxf2pdf", path], capture_output=True, text=True, timeout=120, env=env,
                       cwd=os.path.dirname(path))
    if r.returncode != 0 or not os.path.exists(out) or os.path.getsize(out) < 2000:
        failures.append(f"{path}: LibreCAD did not render it ({r.returncode}): {r.stderr[-300:]}")


def check_report(args, drive, doc, folder, failures):
    pdf = os.path.join(folder, "report.pdf")
    r = cli(args, ["report"] + drive + [pdf])
    if r.returncode != 0:
        failures.append(f"report {drive}: exit {r.returncode}: {r.stderr}")
        return
    text = squeeze(subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], capture_output=True,
                                  text=True, timeout=60).stdout)
    for name, label in doc["labels"].items():
        if squeeze(label["caption"]) not in text:
            failures.append(f"report {drive}: {name} “{label['caption']}” missing")
    for needed in ["设计报告", "参考值", "db1.mdb", "N15"]:
        if needed not in text:
            failures.append(f"report {drive}: “{needed}” missing")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--designs", type=int, default=0)
    parser.add_argument("--seed", type=int, default=13)
    parser.add_argument("--drawings", action="store_true", help="check the DXF, SVG and LibreCAD rendering too")
    args = parser.parse_args()

    failures = []
    fixed = ["--centre-distance", "250", "--teeth", "45", "--starts", "2"]
    rng = random.Random(args.seed)
    drives = [fixed] + [["--centre-distance", str(rng.randint(50, 1000)), "--teeth", str(rng.randint(25, 90)),
                         "--starts", str(rng.randint(1, 6))] for _ in range(args.designs)]
    checked = 0
    with tempfile.TemporaryDirectory() as folder:
        for drive in drives:
            doc = design_json(args, drive)
            if not doc["calculated"]:
                continue
            checked += 1
            check_report(args, drive, doc, folder, failures)
            if drive is not fixed or not args.drawings:
                continue
            for part in ["worm", "wheel", "hob"]:
                for suffix in ["dxf", "svg"]:
                    path = os.path.join(folder, f"{part}.{suffix}")
                    r = cli(args, ["drawing", part] + drive + [path])
                    if r.returncode != 0:
                        failures.append(f"drawing {part} {suffix}: exit {r.returncode}: {r.stderr}")
                        continue
                    (check_dxf if suffix == "dxf" else check_svg)(path, doc, part, failures)
                    if suffix == "dxf":
                        check_librecad(path, failures)
    for f in failures:
        print(f)
    print(f"{len(drives)} designs, {checked} calculated and checked, {len(failures)} failures")
    if checked == 0:
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
