"""Test helper: writes a template workbook, or dumps the first sheet of a
workbook as JSON, through xlwt and xlrd (readers independent of the program).

  xls_tool.py template PATH   every cell A1:E25 holds the text "keep-<cell>",
                              E26 the number 3.5
  xls_tool.py dump PATH       {"C2": ["text", "12.5"], ...} of the first sheet
  xls_tool.py differ A B ...  for each pair of workbooks (A B, C D, ...) whose
                              first sheets differ as dump reads them, a line
                              "A B" (exit status 0 either way; a workbook
                              that cannot be read is an error)
"""
import json
import sys

import xlrd
import xlwt


def cell_name(row, col):
    return "%s%d" % (chr(ord("A") + col), row + 1)


def template(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("参数表")
    for row in range(25):
        for col in range(5):
            sheet.write(row, col, "keep-" + cell_name(row, col))
    sheet.write(25, 4, 3.5)
    book.save(path)


KINDS = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_BOOLEAN: "bool",
         xlrd.XL_CELL_DATE: "date", xlrd.XL_CELL_ERROR: "error"}


def cells_of(path):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    cells = {}
    for row in range(sheet.nrows):
        for col in range(sheet.ncols):
            cell = sheet.cell(row, col)
            kind = KINDS.get(cell.ctype)
            if kind is None or (kind == "text" and cell.value == ""):
                continue  # empty and blank cells are left out alike
            value = cell.value if kind == "text" else repr(cell.value)
            cells[cell_name(row, col)] = [kind, value]
    return cells


def dump(path):
    json.dump(cells_of(path), sys.stdout, ensure_ascii=False)


def differ(paths):
    if len(paths) % 2:
        sys.exit("differ takes pairs of workbooks")
    for a, b in zip(paths[0::2], paths[1::2]):
        if cells_of(a) != cells_of(b):
            print(a, b)


if __name__ == "__main__":
    if sys.argv[1] == "differ":
        differ(sys.argv[2:])
    else:
        {"template": template, "dump": dump}[sys.argv[1]](sys.argv[2])
