#!/usr/bin/env python3
"""Writes 50 RUSMARC-like records in Windows-1251; only records 3 and 40 hold "Жар-птица".

    make_find_file.py OUT
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from iso_records import iso_record  # noqa: E402

SF = b"\x1f"


def title(number):
    if number in (3, 40):
        return "Сказка о Жар-птице, том %d" % number
    return "Повесть временных лет, часть %d" % number


with open(sys.argv[1], "wb") as out:
    for number in range(1, 51):
        out.write(iso_record([
            ("001", str(number).encode()),
            ("200", b"1 " + SF + b"a" + title(number).encode("cp1251")),
            ("700", b" 1" + SF + b"a" + "Иванов И. И.".encode("cp1251")),
        ]))
