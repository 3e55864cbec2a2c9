#!/usr/bin/env python3
"""Adds localisation keys to a program's tables (English and Simplified Chinese).

usage: scripts/tr-add.py PROGRAM FILE.tsv
  PROGRAM  pallstone or pallstone-extension (or "both")
  FILE     lines of KEY<TAB>ENGLISH<TAB>CHINESE; keys already in a table are left as they are
"""
import sys
from pathlib import Path
from xml.sax.saxutils import escape

root = Path(__file__).resolve().parent.parent / "resources" / "translations"


def add(program, rows):
    for lang, column in (("en", 1), ("zh_CN", 2)):
        path = root / f"{program}_{lang}.ts"
        text = path.read_text(encoding="utf-8")
        added = []
        for row in rows:
            key = row[0]
            if f"<source>{escape(key)}</source>" in text:
                continue
            added.append(
                "    <message>\n"
                f"        <source>{escape(key)}</source>\n"
                f"        <translation>{escape(row[column])}</translation>\n"
                "    </message>\n")
        text = text.replace("</context>", "".join(added) + "</context>", 1)
        path.write_text(text, encoding="utf-8")
        print(f"{path.name}: {len(added)} added")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[2], encoding="utf-8")
            if line.strip() and not line.startswith("#")]
    for row in rows:
        if len(row) != 3:
            sys.exit(f"need KEY<TAB>ENGLISH<TAB>CHINESE: {row}")
    programs = ["pallstone", "pallstone-extension"] if sys.argv[1] == "both" else [sys.argv[1]]
    for program in programs:
        add(program, rows)


if __name__ == "__main__":
    main()
