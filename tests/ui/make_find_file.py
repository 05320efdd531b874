#!/usr/bin/env python3
"""Writes 50 RUSMARC-like records in Windows-1251; only records 3 and 40 hold "Жар-птица".

    make_find_file.py OUT
"""
import sys

FT, RT, SF = b"\x1e", b"\x1d", b"\x1f"


def record(fields):
    directory, data = b"", b""
    for tag, value in fields:
        body = value + FT
        directory += tag.encode() + b"%04d%05d" % (len(body), len(data))
        data += body
    base = 24 + len(directory) + 1
    length = base + len(data) + 1
    leader = b"%05dnam  22%05d   4500" % (length, base)
    return leader + directory + FT + data + RT


def title(number):
    if number in (3, 40):
        return "Сказка о Жар-птице, том %d" % number
    return "Повесть временных лет, часть %d" % number


with open(sys.argv[1], "wb") as out:
    for number in range(1, 51):
        out.write(record([
            ("001", str(number).encode()),
            ("200", b"1 " + SF + b"a" + title(number).encode("cp1251")),
            ("700", b" 1" + SF + b"a" + "Иванов И. И.".encode("cp1251")),
        ]))
