#!/usr/bin/env python3
"""Lists the Chinese texts of the program's sources: every C++ string literal
with a CJK character in it, as the program sees it at run time (escapes
decoded, adjacent literals joined). The English translation must hold each.

    chinese_texts.py SOURCE-DIR            one text a line (\\n written as \\n)
    chinese_texts.py SOURCE-DIR --check TS exit 1 and list the texts TS lacks
"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

# The folders whose texts a user sees; tests, tools and the manual's own
# generator (whose documents stay Chinese) are left out.
FOLDERS = ["app", "calc", "core", "rules", "documents", "support", "rating", "drawing", "model", "batch"]
LITERAL = re.compile(r'(?:u8|u|L)?"((?:[^"\\\n]|\\.)*)"')
ESCAPES = {"n": "\n", "t": "\t", "\\": "\\", '"': '"', "'": "'", "r": "\r", "0": "\0"}
CJK = re.compile(r"[\u3000-\u9fff\uff00-\uffef]")


def decode(body):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == "\\" and i + 1 < len(body):
            out.append(ESCAPES.get(body[i + 1], body[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def strip_comments(code):
    code = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), code, flags=re.S)
    return re.sub(r"//[^\n]*", "", code)


def texts(root):
    found = set()
    for folder in FOLDERS:
        base = pathlib.Path(root, folder)
        if not base.is_dir():
            continue
        for path in sorted(list(base.rglob("*.cpp")) + list(base.rglob("*.h"))):
            if "fuzz" in path.parts:
                continue
            code = path.read_text(encoding="utf-8")
            # Raw literals R"(...)" hold long texts (the About window's notes).
            for raw in re.finditer(r'R"\((.*?)\)"', code, flags=re.S):
                if CJK.search(raw.group(1)):
                    found.add(raw.group(1))
            code = strip_comments(re.sub(r'R"\(.*?\)"', '""', code, flags=re.S))
            # Adjacent literals ("a" "b") are one text.
            for run in re.finditer(r'(?:(?:u8|u|L)?"(?:[^"\\\n]|\\.)*"\s*)+', code):
                text = "".join(decode(m.group(1)) for m in LITERAL.finditer(run.group(0)))
                if CJK.search(text):
                    found.add(text)
    return sorted(found)


def translated(ts):
    done = set()
    for message in ET.parse(ts).getroot().iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        if source is not None and translation is not None and translation.get("type") is None and translation.text:
            done.add(source)
    return done


def main():
    root = sys.argv[1]
    found = texts(root)
    if len(sys.argv) == 4 and sys.argv[2] == "--check":
        missing = [t for t in found if t not in translated(sys.argv[3])]
        for t in missing:
            print(t.replace("\n", "\\n"))
        return 1 if missing else 0
    for t in found:
        print(t.replace("\n", "\\n"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
