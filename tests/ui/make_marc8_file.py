#!/usr/bin/env python3
"""Writes two MARC 21 records in MARC-8 (leader/09 blank): French titles with their diacritics
written before the letter, and an 880 in Basic Cyrillic (ESC ( N) saying "Пушкин". With
--title N CODEC, prints record N's title as CODEC reads its bytes instead.

    make_marc8_file.py OUT
    make_marc8_file.py --title N CODEC
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from iso_records import iso_record  # noqa: E402

SF = b"\x1f"
TITLES = [b"De la solitude \xe1a la communaut\xe2e.", b"Une communaut\xe2e rurale"]
CYRILLIC = b"\x1b(N\x70\x55\x5b\x4b\x49\x4e\x1b(B"


if sys.argv[1] == "--title":
    print(TITLES[int(sys.argv[2]) - 1].decode(sys.argv[3]))
    sys.exit(0)
with open(sys.argv[1], "wb") as out:
    for number, title in enumerate(TITLES, 1):
        out.write(iso_record([
            ("001", str(number).encode()),
            ("245", b"10" + SF + b"a" + title),
            ("880", b"10" + SF + b"a" + CYRILLIC),
        ]))
