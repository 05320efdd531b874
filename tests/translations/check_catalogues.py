#!/usr/bin/env python3
"""Every text the window shows has its translation in every catalogue, and no catalogue keeps
texts the program no longer has: lupdate, run as `update_translations` runs it, updates a copy
of each catalogue, which must then have no unfinished, vanished or obsolete entry. A translation
keeps its source's placeholders (%1, %s, %d: the session fills them in order) and line breaks.

usage: check_catalogues.py LUPDATE SOURCE_DIR CATALOGUE... -- LUPDATE_OPTION...
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path


def text_of(element):
    # lupdate writes a carriage return as <byte value="xd"/>.
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            parts.append(chr(int(child.get("value").lstrip("x"), 16)))
        parts.append(child.tail or "")
    return "".join(parts)


def placeholders(text):
    return sorted(re.findall(r"%(?:\d+|[sd])", text))


def problems_of(catalogue):
    problems = []
    count = 0
    for context in ET.parse(catalogue).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            count += 1
            source = text_of(message.find("source"))
            translation = message.find("translation")
            kind = translation.get("type")
            text = text_of(translation)
            where = f"{catalogue.name}: {name}: {source!r}"
            if kind in ("unfinished", "vanished", "obsolete"):
                problems.append(f"{where} is {kind}")
            elif not text:
                problems.append(f"{where} has an empty translation")
            elif placeholders(source) != placeholders(text):
                problems.append(f"{where}: placeholders {placeholders(text)}, not {placeholders(source)}")
            elif source.count("\n") != text.count("\n"):
                problems.append(f"{where}: {text.count(chr(10))} line breaks, not {source.count(chr(10))}")
    if count == 0:
        problems.append(f"{catalogue.name} has no texts")
    return problems


def main():
    separator = sys.argv.index("--")
    lupdate, sources, catalogues = sys.argv[1], sys.argv[2], sys.argv[3:separator]
    options = sys.argv[separator + 1:]
    problems = []
    with tempfile.TemporaryDirectory() as scratch:
        for original in map(Path, catalogues):
            copy = Path(scratch) / original.name
            shutil.copyfile(original, copy)
            subprocess.run([lupdate, "-silent", *options, sources, "-ts", str(copy)], check=True)
            problems += problems_of(copy)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} problems: translate the texts in translations/ "
              "(cmake --build <dir> --target update_translations, then Qt Linguist or an editor)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
