#!/usr/bin/python3
"""Writes the template workbooks of tpworm from their readable sources.

    make_templates.py SOURCE_DIR OUTPUT_DIR

worm.tsv -> 1.xls, wheel.tsv -> 1111.xls, hob.tsv -> 11.xls (the parameter
tables) and design.tsv -> 111.xls (the design file). The workbooks are written
by xlwt, a BIFF8 writer independent of the program's own workbook engine, each
to a temporary file that is renamed over the target.

Every cell the program fills is written as an empty cell that already carries
its final format (text format "@", borders, alignment): the program then only
sets its text, and a value that looks like a number stays text when the file is
edited in a spreadsheet program.
"""

import os
import sys

import xlwt

TABLES = {"worm.tsv": "1.xls", "wheel.tsv": "1111.xls", "hob.tsv": "11.xls"}
DESIGN = {"design.tsv": "111.xls"}

FONT = "宋体"
COLUMNS = "ABCDE"
# Column widths in characters of the default font: name, symbol, value,
# deviation, unit.
TABLE_WIDTHS = [30, 8, 22, 12, 7]
ROW_HEIGHT = 20 * 20  # twips


def style(bold=False, size=10, italic=False, align="center", border=True, text=False, wrap=False, fill=None, font=FONT):
    s = xlwt.XFStyle()
    f = xlwt.Font()
    f.name = font
    f.height = size * 20
    f.bold = bold
    f.italic = italic
    f.charset = xlwt.Font.CHARSET_SYS_DEFAULT
    s.font = f
    a = xlwt.Alignment()
    a.horz = {"center": xlwt.Alignment.HORZ_CENTER, "left": xlwt.Alignment.HORZ_LEFT}[align]
    a.vert = xlwt.Alignment.VERT_CENTER
    a.wrap = 1 if wrap else 0
    if align == "left":
        a.inde = 1
    s.alignment = a
    if border:
        b = xlwt.Borders()
        b.left = b.right = b.top = b.bottom = xlwt.Borders.THIN
        s.borders = b
    if text:
        s.num_format_str = "@"
    if fill is not None:
        p = xlwt.Pattern()
        p.pattern = xlwt.Pattern.SOLID_PATTERN
        p.pattern_fore_colour = fill
        s.pattern = p
    return s


STYLES = {
    "title": style(bold=True, size=16, border=False),
    "caption": style(align="left"),
    "symbol": style(italic=True, font="Times New Roman"),
    "value": style(text=True),
    "deviation": style(text=True, size=9),
    "unit": style(),
    "heading": style(bold=True, align="left", fill=0x16),  # silver
    "note": style(size=9, align="left", border=False, wrap=True),
    "footer": style(align="left", border=False),
}


def read_source(path):
    """The lines of a source file as lists of tab-separated fields."""
    lines = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            lines.append((number, fields))
    return lines


def column(letter):
    return COLUMNS.index(letter)


def print_setup(sheet, landscape=False):
    """A4, centred, the whole table on one page, no header or footer text."""
    sheet.paper_size_code = 9
    sheet.portrait = 0 if landscape else 1
    sheet.fit_num_pages = 1
    sheet.fit_width_to_pages = 1
    sheet.fit_height_to_pages = 1
    sheet.print_centered_horz = 1
    sheet.print_centered_vert = 0
    sheet.header_str = b""
    sheet.footer_str = b""
    sheet.top_margin = 0.8
    sheet.bottom_margin = 0.8
    sheet.left_margin = 0.7
    sheet.right_margin = 0.7


class SourceError(Exception):
    pass


def table_row(sheet, row, fields):
    """One row of a parameter table (and the row below it for a two-line value)."""
    caption, symbol, value, unit, span = (fields + [""] * 5)[:5]
    lines, merged = 1, set()
    if span:
        parts = span.split()
        lines, merged = int(parts[0]), set(parts[1:])
    last = row + lines - 1
    for line in range(row, last + 1):
        sheet.row(line).height = ROW_HEIGHT
        sheet.row(line).height_mismatch = True

    def put(col, text, name):
        c = column(col)
        if col in merged and lines > 1:
            sheet.write_merge(row, last, c, c, text, STYLES[name])
        else:
            sheet.write(row, c, text, STYLES[name])
            for line in range(row + 1, last + 1):
                sheet.write(line, c, "", STYLES[name])

    put("A", caption, "caption")
    if value == "B:C":
        sheet.write_merge(row, row, column("B"), column("C"), "", STYLES["value"])
    elif value == "C":
        put("B", symbol, "symbol")
        put("C", "", "value")
    else:
        raise SourceError("value cell must be C or B:C, not %r" % value)
    put("D", "", "deviation")
    put("E", unit, "unit")


def make_table(lines):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = None
    for number, fields in lines:
        kind, rest = fields[0], fields[1:]
        try:
            if kind == "sheet":
                sheet = book.add_sheet(rest[0])
                for i, width in enumerate(TABLE_WIDTHS):
                    sheet.col(i).width = width * 256
                print_setup(sheet)
                continue
            if sheet is None:
                raise SourceError("the first line must name the sheet")
            if kind == "title":
                sheet.write_merge(0, 0, 0, len(COLUMNS) - 1, rest[0], STYLES["title"])
                sheet.row(0).height = 36 * 20
                sheet.row(0).height_mismatch = True
            elif kind == "row":
                table_row(sheet, int(rest[0]) - 1, rest[1:])
            elif kind == "heading":
                r = int(rest[0]) - 1
                sheet.write(r, column("A"), rest[1], STYLES["heading"])
                for c in "BCDE":
                    sheet.write(r, column(c), "", STYLES["value" if c == "C" else "heading"])
                sheet.row(r).height = ROW_HEIGHT
                sheet.row(r).height_mismatch = True
            elif kind == "note":
                r = int(rest[0]) - 1
                sheet.write_merge(r, r, 0, len(COLUMNS) - 1, rest[1], STYLES["note"])
                sheet.row(r).height = 2 * ROW_HEIGHT
                sheet.row(r).height_mismatch = True
            elif kind == "footer":
                r = int(rest[0]) - 1
                for i, text in enumerate(rest[1:]):
                    sheet.write(r, [0, 2, 3][i], text, STYLES["footer"])
            else:
                raise SourceError("unknown line kind %r" % kind)
        except (IndexError, ValueError, SourceError) as error:
            raise SourceError("line %d: %s" % (number, error)) from error
    return book


def make_design(lines):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = None
    for number, fields in lines:
        kind, rest = fields[0], fields[1:]
        try:
            if kind == "sheet":
                sheet = book.add_sheet(rest[0])
                sheet.col(0).width = 24 * 256
                sheet.col(1).width = 40 * 256
                sheet.col(2).width = 8 * 256
                sheet.col(3).width = 60 * 256
                print_setup(sheet)
            elif sheet is None:
                raise SourceError("the first line must name the sheet")
            elif kind == "note":
                sheet.write(0, 3, rest[0], STYLES["note"])
            elif kind == "row":
                r = int(rest[0]) - 1
                sheet.write(r, 0, "", STYLES["value"])
                sheet.write(r, 1, rest[1], STYLES["caption"])
                sheet.write(r, 2, rest[2] if len(rest) > 2 else "", STYLES["unit"])
            else:
                raise SourceError("unknown line kind %r" % kind)
        except (IndexError, ValueError, SourceError) as error:
            raise SourceError("line %d: %s" % (number, error)) from error
    return book


def write_atomically(book, target):
    temporary = target + ".tmp"
    book.save(temporary)
    os.replace(temporary, target)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source_dir, output_dir = argv[1], argv[2]
    os.makedirs(output_dir, exist_ok=True)
    for makers, make in ((TABLES, make_table), (DESIGN, make_design)):
        for source, target in makers.items():
            path = os.path.join(source_dir, source)
            try:
                book = make(read_source(path))
            except SourceError as error:
                sys.stderr.write("%s: %s\n" % (path, error))
                return 1
            write_atomically(book, os.path.join(output_dir, target))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
