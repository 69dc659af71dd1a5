#!/usr/bin/python3
"""Every non-empty cell of every worksheet of .xls files as xlrd sees them, as JSON:
{file: {"sheets": [{"name", "cells": {"A1": [type, value]}}]}}."""
import sys, os, json, xlrd
from xlrd import XL_CELL_EMPTY, XL_CELL_BLANK

def cellname(r, c):
    s = ''
    c += 1
    while c:
        c, m = divmod(c - 1, 26)
        s = chr(65 + m) + s
    return '%s%d' % (s, r + 1)

def dump(path):
    bk = xlrd.open_workbook(path, logfile=open(os.devnull, 'w'), on_demand=False)
    sheets = []
    for sh in bk.sheets():
        cells = {}
        for r in range(sh.nrows):
            for c in range(sh.row_len(r)):
                t = sh.cell_type(r, c)
                if t in (XL_CELL_EMPTY, XL_CELL_BLANK):
                    continue
                cells[cellname(r, c)] = [t, sh.cell_value(r, c)]
        sheets.append({"name": sh.name, "cells": cells})
    return {"sheets": sheets}

out = {}
for p in sys.argv[1:]:
    try:
        out[p] = dump(p)
    except Exception as e:
        out[p] = {"error": repr(e)}
json.dump(out, sys.stdout, ensure_ascii=False)
