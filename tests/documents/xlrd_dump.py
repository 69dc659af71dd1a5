#!/usr/bin/python3
"""Prints what python3-xlrd reads from a workbook, as JSON on standard output.

    xlrd_dump.py FILE

{"biff": 80, "sheets": [{"name": ..., "cells": {"A1": {"type": "text",
 "value": ..., "format": "@"}, ...}, "merged": [[r1, r2, c1, c2], ...]}]}

Every cell xlrd reports is listed, blank (formatted-only) cells with type
"blank"; "format" is the number format string of the cell's XF record.
"""
import json
import sys

import xlrd

TYPES = {
    xlrd.XL_CELL_EMPTY: "empty",
    xlrd.XL_CELL_TEXT: "text",
    xlrd.XL_CELL_NUMBER: "number",
    xlrd.XL_CELL_DATE: "date",
    xlrd.XL_CELL_BOOLEAN: "bool",
    xlrd.XL_CELL_ERROR: "error",
    xlrd.XL_CELL_BLANK: "blank",
}


def cell_name(row, col):
    letters = ""
    col += 1
    while col:
        col, rest = divmod(col - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return "%s%d" % (letters, row + 1)


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheets = []
    for sheet in book.sheets():
        cells = {}
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                xf = book.xf_list[cell.xf_index]
                fmt = book.format_map[xf.format_key].format_str if xf.format_key in book.format_map else ""
                value = cell.value
                if cell.ctype == xlrd.XL_CELL_ERROR:
                    value = xlrd.error_text_from_code.get(value, str(value))
                cells[cell_name(r, c)] = {"type": TYPES[cell.ctype], "value": value, "format": fmt}
        sheets.append({"name": sheet.name, "cells": cells, "merged": [list(m) for m in sheet.merged_cells]})
    json.dump({"biff": book.biff_version, "sheets": sheets}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
