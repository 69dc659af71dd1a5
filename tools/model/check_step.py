#!/usr/bin/python3
"""The STEP files of `tpworm-cli model` read back by independent readers.

For each design: the worm, the wheel rim and the pair written by the command
line, then read by OpenCASCADE's DRAWEXE (occt-draw: stepread, checkshape,
bounding -optimal) and by FreeCAD (freecad-python3: Part.read); each part one
valid solid whose extents match the working length plus shoulders and stubs
and the rim width to 0.01 mm, and lie within the worm's largest tip diameter
and the wheel's outer diameter; the pair two solids that do not interfere and stand no farther apart
than the backlash plus 0.01 mm. A reader that is not installed is skipped
(exit 77 when none is).

  check_step.py --cli build/tpworm-cli [--designs 250/45/2,80/31/1] [--parts worm,wheel,pair]
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

FREECAD_LIB = '/usr/lib/freecad-python3/lib'


def design_values(cli, a, z2, z1):
    """The design's figures as the window shows them (three decimals)."""
    out = json.loads(subprocess.run([cli, 'design', '--json', '--centre-distance', a, '--teeth', z2, '--starts', z1],
                                    capture_output=True, text=True, check=True).stdout)
    number = lambda label: float(out['labels'][label]['caption'].split('-')[0])
    values = {'WormWorkingLength': number('Label10'), 'ShoulderSize': number('Label11'),
              'MaxTipDiameter': number('Label48'), 'WheelMaxOuterDiameter': number('Label33'),
              'RimWorkingWidth': number('Label34'), 'Backlash': float(out['fields']['Edit8'])}
    # The shaft stub: a quarter of the working length, rounded (the
    # modeller's reference proportion, model/occt/solids.cpp).
    values['StubLength'] = float(int(0.25 * values['WormWorkingLength'] + 0.5))
    return values


def draw_check(path):
    """[solids, valid, (xmin, ymin, zmin, xmax, ymax, zmax)] from DRAWEXE."""
    script = ('pload MODELING DATAEXCHANGE\n'
              f'stepread {path} s *\n'
              'set n [lindex [directory s_*] 0]\n'
              'puts "SOLIDS [regexp -inline {SOLID +: +[0-9]+} [nbshapes $n]]"\n'
              'puts "CHECK [checkshape $n]"\n'
              'puts "BOX [bounding $n -optimal]"\n'
              'exit\n')
    with tempfile.NamedTemporaryFile('w', suffix='.tcl', delete=False) as f:
        f.write(script)
    try:
        out = subprocess.run(['occt-draw', '-b', '-f', f.name], capture_output=True, text=True, timeout=600).stdout
    finally:
        os.unlink(f.name)
    solids, valid, box = None, False, None
    for line in out.splitlines():
        if line.startswith('SOLIDS '):
            solids = int(line.split()[-1].strip('}'))
        elif line.startswith('CHECK '):
            valid = 'seems to be valid' in line
        elif line.startswith('BOX '):
            box = tuple(float(x) for x in line.split()[1:7])
    return solids, valid, box


FREECAD_SCRIPT = r'''
import sys, json
sys.path.append(%r)
import FreeCAD, Part
s = Part.read(sys.argv[1])
b = s.optimalBoundingBox()
out = {"solids": len(s.Solids), "valid": all(x.isValid() for x in s.Solids),
       "box": [b.XMin, b.YMin, b.ZMin, b.XMax, b.YMax, b.ZMax]}
if len(s.Solids) == 2:
    out["distance"] = s.Solids[0].distToShape(s.Solids[1])[0]
    out["common"] = s.Solids[0].common(s.Solids[1]).Volume
print("RESULT " + json.dumps(out))
''' % FREECAD_LIB


def freecad_check(path):
    out = subprocess.run(['/usr/bin/python3', '-c', FREECAD_SCRIPT, path], capture_output=True, text=True,
                         timeout=900).stdout
    for line in out.splitlines():
        if line.startswith('RESULT '):
            return json.loads(line[7:])
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--cli', required=True)
    parser.add_argument('--designs', default='250/45/2')
    parser.add_argument('--parts', default='worm,wheel,pair')
    args = parser.parse_args()
    have_draw = shutil.which('occt-draw') is not None
    have_freecad = os.path.isdir(FREECAD_LIB)
    if not have_draw and not have_freecad:
        print('neither occt-draw nor freecad-python3 is installed: skipped')
        return 77
    failures = []

    def expect(ok, what):
        print(('ok   ' if ok else 'FAIL ') + what)
        if not ok:
            failures.append(what)

    work = tempfile.mkdtemp()
    try:
        for design in args.designs.split(','):
            a, z2, z1 = design.split('/')
            values = design_values(args.cli, a, z2, z1)
            for part in args.parts.split(','):
                path = os.path.join(work, f'{part}-{a}-{z2}-{z1}.step')
                run = subprocess.run([args.cli, 'model', part, '--centre-distance', a, '--teeth', z2, '--starts', z1,
                                      path], capture_output=True, text=True, timeout=900)
                expect(run.returncode == 0, f'{design} {part}: written ({run.stderr.strip()[-200:]})')
                if run.returncode != 0:
                    continue
                readers = []
                if have_draw:
                    solids, valid, box = draw_check(path)
                    readers.append(('DRAWEXE', solids, valid, box, None))
                if have_freecad:
                    r = freecad_check(path)
                    readers.append(('FreeCAD', r and r['solids'], r and r['valid'], r and tuple(r['box']), r))
                for reader, solids, valid, box, extra in readers:
                    want = 2 if part == 'pair' else 1
                    expect(solids == want and valid, f'{design} {part} {reader}: {solids} valid solid(s)')
                    if box is None:
                        expect(False, f'{design} {part} {reader}: no bounding box')
                        continue
                    sizes = [box[3] - box[0], box[4] - box[1], box[5] - box[2]]
                    if part == 'worm':
                        length = values['WormWorkingLength'] + 2 * values['ShoulderSize'] + 2 * values['StubLength']
                        expect(abs(sizes[2] - length) <= 0.01, f'{design} worm {reader} length {sizes[2]:.4f} = {length:.4f}')
                        # Across the axis only the threads' ends reach the
                        # largest tip diameter, at the angles where they end;
                        # the shoulders, of the reference diameter the command
                        # names, are smaller.
                        shoulder = re.search(r'shoulder diameter ([0-9.]+) mm', run.stdout)
                        expect(shoulder is not None, f'{design} worm: the shoulder diameter is named ({run.stdout.strip()})')
                        for got, name in ((sizes[0], 'x'), (sizes[1], 'y')):
                            expect(shoulder is not None and float(shoulder.group(1)) < got <= values['MaxTipDiameter'] + 0.01,
                                   f'{design} worm {reader} {name} {got:.4f} within the largest tip diameter {values["MaxTipDiameter"]:.4f}')
                    elif part == 'wheel':
                        expect(abs(sizes[2] - values['RimWorkingWidth']) <= 0.01,
                               f'{design} wheel {reader} width {sizes[2]:.4f} = {values["RimWorkingWidth"]}')
                        expect(max(sizes[0], sizes[1]) <= values['WheelMaxOuterDiameter'] + 0.01,
                               f'{design} wheel {reader} within the outer diameter')
                    elif extra and 'distance' in extra:
                        expect(extra['common'] <= 1e-6, f'{design} pair FreeCAD: no interference ({extra["common"]})')
                        expect(0 <= extra['distance'] <= values['Backlash'] + 0.01,
                               f'{design} pair FreeCAD: distance {extra["distance"]:.4f} within the backlash')
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print('failures:', len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
