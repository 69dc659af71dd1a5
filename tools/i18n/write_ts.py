#!/usr/bin/env python3
"""Adds translations to the program's English translation source.

    write_ts.py TS-FILE TRANSLATIONS.py

TRANSLATIONS.py defines EN = {chinese: english}. Entries already in TS-FILE
keep their place; new ones are added in sorted order. The .ts file is the
source of the translation: edit it with Qt Linguist or by hand afterwards.
"""
import runpy
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape


def read(ts):
    try:
        root = ET.parse(ts).getroot()
    except FileNotFoundError:
        return {}
    return {m.findtext("source"): (m.findtext("translation") or "") for m in root.iter("message")}


def write(ts, entries):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
             '<TS version="2.1" language="en" sourcelanguage="zh_CN">', "<context>", "    <name>tpworm</name>"]
    for source in sorted(entries):
        lines += ["    <message>", f"        <source>{escape(source)}</source>",
                  f"        <translation>{escape(entries[source])}</translation>", "    </message>"]
    lines += ["</context>", "</TS>", ""]
    with open(ts, "w", encoding="utf-8") as out:
        out.write("\n".join(lines))


def main():
    entries = read(sys.argv[1])
    entries.update(runpy.run_path(sys.argv[2])["EN"])
    write(sys.argv[1], entries)


if __name__ == "__main__":
    main()
