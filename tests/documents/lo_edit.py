#!/usr/bin/python3
"""Edits a flat OpenDocument spreadsheet as a user would in LibreOffice Calc.

    lo_edit.py IN.fods OUT.fods

In the first sheet every text cell of column A that reads as a number becomes
a number cell (what Calc does when the user retypes it), and a second sheet
"备注" with a text and a number is added. LibreOffice then writes the result
back as an Excel 97-2003 workbook.
"""
import sys
import xml.etree.ElementTree as ET

NS = {}


def q(prefix, name):
    return "{%s}%s" % (NS[prefix], name)


def register_namespaces(path):
    for _, (prefix, uri) in ET.iterparse(path, events=["start-ns"]):
        NS[prefix] = uri
        ET.register_namespace(prefix, uri)


def cell_text(cell):
    return "\n".join("".join(p.itertext()) for p in cell.findall(q("text", "p")))


def as_number(cell):
    text = cell_text(cell).strip()
    try:
        value = float(text)
    except ValueError:
        return
    for key in list(cell.attrib):
        if key.endswith("}value-type") or key.endswith("}string-value"):
            del cell.attrib[key]
    cell.set(q("office", "value-type"), "float")
    cell.set(q("office", "value"), repr(value))
    if "calcext" in NS:
        cell.set(q("calcext", "value-type"), "float")


def first_column_cells(table):
    for row in table.iter(q("table", "table-row")):
        cells = row.findall(q("table", "table-cell"))
        if cells:
            yield cells[0]


def add_sheet(spreadsheet):
    sheet = ET.SubElement(spreadsheet, q("table", "table"), {q("table", "name"): "备注"})
    ET.SubElement(sheet, q("table", "table-column"))
    row = ET.SubElement(sheet, q("table", "table-row"))
    text = ET.SubElement(row, q("table", "table-cell"), {q("office", "value-type"): "string"})
    ET.SubElement(text, q("text", "p")).text = "校核：张工"
    row = ET.SubElement(sheet, q("table", "table-row"))
    number = ET.SubElement(row, q("table", "table-cell"), {q("office", "value-type"): "float", q("office", "value"): "42"})
    ET.SubElement(number, q("text", "p")).text = "42"


def main(source, target):
    register_namespaces(source)
    tree = ET.parse(source)
    spreadsheet = tree.getroot().find(".//" + q("office", "spreadsheet"))
    tables = spreadsheet.findall(q("table", "table"))
    for cell in first_column_cells(tables[0]):
        as_number(cell)
    # A new sheet goes after the last one, before the named ranges and the
    # other elements that close the spreadsheet.
    position = list(spreadsheet).index(tables[-1]) + 1
    add_sheet(spreadsheet)
    added = spreadsheet[-1]
    spreadsheet.remove(added)
    spreadsheet.insert(position, added)
    tree.write(target, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
