#!/usr/bin/env python3
"""Writes a catalogue of damaged ISO 2709 files, one kind of damage per file.

    make_damaged.py OUT_DIR

Each file holds a good record, the damaged record, and a good record after it (a truncated
last record has no record after it). The good records carry Cyrillic text in Windows-1251.
Every file is built from the same few records, so the output is the same on every run.
"""

import os
import random
import sys

RT, FT, SF = b"\x1d", b"\x1e", b"\x1f"
LEADER = b"00000nam  2200000   4500"


def data_field(indicators, *subfields):
    """Data field bytes: indicators, then each (code, text) as delimiter, code and text."""
    return indicators.encode("cp1251") + b"".join(
        SF + code.encode("cp1251") + text.encode("cp1251") for code, text in subfields)


def control_field(text):
    return text.encode("ascii")


GOOD_BEFORE = [
    ("001", control_field("good-before")),
    ("200", data_field("1 ", ("a", "Слово о полку Игореве"), ("f", "неизвестный автор"))),
    ("700", data_field(" 1", ("a", "Лихачёв"), ("b", "Д. С."))),
]
GOOD_AFTER = [
    ("001", control_field("good-after")),
    ("010", data_field("  ", ("a", "5-02-013765-0"))),
    ("200", data_field("1 ", ("a", "Евгений Онегин"), ("f", "А. С. Пушкин"))),
    ("210", data_field("  ", ("a", "Москва"), ("c", "Наука"), ("d", "1991"))),
]
DAMAGED = [
    ("001", control_field("damaged")),
    ("005", control_field("20261207093000.0")),
    ("200", data_field("1 ", ("a", "Record that is about to be damaged"), ("f", "Anon."))),
    ("300", data_field("  ", ("a", "A note long enough to be cut in two"))),
    ("700", data_field(" 1", ("a", "Author"), ("b", "A."))),
]


class Built:
    """A record in canonical layout, with where its parts lie, for surgical damage."""

    def __init__(self, fields, leader=LEADER, field_terminator=FT):
        self.fields = list(fields)
        directory, data = b"", b""
        self.starts = []
        for tag, content in self.fields:
            self.starts.append(len(data))
            entry_length = len(content) + len(field_terminator)
            directory += tag.encode("ascii") + b"%04d" % (entry_length % 10000) + b"%05d" % (len(data) % 100000)
            data += content + field_terminator
        self.base = 24 + len(directory) + 1
        length = self.base + len(data) + 1
        self.bytes = bytearray(
            b"%05d" % (length % 100000) + leader[5:12] + b"%05d" % self.base + leader[17:]
            + directory + FT + data + RT)

    def entry(self, index):
        """Offset of a directory entry within the record."""
        return 24 + 12 * index

    def field_data(self, index):
        """Offset of a field's data within the record."""
        return self.base + self.starts[index]

    def field_end(self, index):
        """Offset of a field's terminator within the record."""
        return self.field_data(index) + len(self.fields[index][1])

    def put(self, pos, text):
        self.bytes[pos:pos + len(text)] = text
        return self

    def out(self):
        return bytes(self.bytes)

    def cut(self, pos):
        """Cuts out the byte at `pos`; nothing else changes."""
        del self.bytes[pos]
        return self

    def shift_number(self, pos, width, delta):
        value = int(self.bytes[pos:pos + width]) + delta
        return self.put(pos, b"%0*d" % (width, value))

    def cut_field_terminator(self, index):
        """Cuts out a field's terminator and updates the directory and the record length to
        match, as a writer that rebuilt the record from its damaged fields would."""
        self.cut(self.field_end(index))
        self.shift_number(self.entry(index) + 3, 4, -1)
        for later in range(index + 1, len(self.fields)):
            self.shift_number(self.entry(later) + 7, 5, -1)
        return self.shift_number(0, 5, -1)


def good(fields):
    return Built(fields).out()


class Case:
    """One file of the catalogue. `records` lists the records the file was made from, with
    their intended fields; `damaged` says which of them is damaged."""

    def __init__(self, name, description, file, records, damaged):
        self.name, self.description, self.file = name, description, file
        self.records, self.damaged = records, damaged

    @property
    def has_good_after(self):
        return self.damaged + 1 < len(self.records)


def around(damaged_bytes, before=b"", between=b""):
    """A file: good record, damaged record, good record, with optional bytes in the gaps."""
    return before + good(GOOD_BEFORE) + between + damaged_bytes + between + good(GOOD_AFTER)


def case(name, description, file, fields=DAMAGED):
    """A case whose middle record, made from `fields`, is the damaged one."""
    return Case(name, description, file, [GOOD_BEFORE, fields, GOOD_AFTER], 1)


def fresh():
    """The record to damage, built anew for each case."""
    return Built(DAMAGED)


def shifted_number(built, pos, delta):
    value = int(built.bytes[pos:pos + 5]) + delta
    return built.put(pos, b"%05d" % value)


def leader_cases():
    after_length = len(good(GOOD_AFTER))
    return [
        case("length-too-large", "leader length 40 bytes larger than the record",
             around(shifted_number(fresh(), 0, 40).out())),
        case("length-reaches-next-terminator",
             "leader length runs exactly to the next record's terminator",
             around(shifted_number(fresh(), 0, after_length).out())),
        case("length-too-small", "leader length 40 bytes smaller than the record",
             around(shifted_number(fresh(), 0, -40).out())),
        case("length-not-digits", "leader length '0a1b2'",
             around(fresh().put(0, b"0a1b2").out())),
        case("base-too-large", "base address 7 bytes past the directory's end",
             around(shifted_number(fresh(), 12, 7).out())),
        case("base-too-small", "base address 7 bytes inside the directory",
             around(shifted_number(fresh(), 12, -7).out())),
        case("base-short-by-one-entry", "base address 12 bytes short, exactly one directory entry",
             around(shifted_number(fresh(), 12, -12).out())),
        case("base-not-digits", "base address 'xx1yz'", around(fresh().put(12, b"xx1yz").out())),
        case("indicator-count-not-digit", "leader/10, the indicator count, is 'x'",
             around(fresh().put(10, b"x").out())),
        case("subfield-code-length-not-digit", "leader/11, the subfield code length, is 'y'",
             around(fresh().put(11, b"y").out())),
        case("entry-map-not-digits", "leader/20-23, the entry map, is 'abcd'",
             around(fresh().put(20, b"abcd").out())),
    ]


def directory_cases():
    rec = fresh()
    start_outside = rec.put(rec.entry(3) + 7, b"90000").out()
    rec = fresh()
    length_outside = rec.put(rec.entry(3) + 3, b"8000").out()
    rec = fresh()
    not_digits = rec.put(rec.entry(2) + 3, b"l3n9st@rt").out()
    rec = fresh()
    no_terminator = rec.put(rec.base - 1, b" ").out()
    rec = fresh()
    odd_tag = rec.put(rec.entry(3), b"3\x000").out()
    directory_cut = fresh().cut(rec.base - 1).shift_number(12, 5, -1).shift_number(0, 5, -1).out()
    directory_cut_stale = fresh().cut(rec.base - 1).out()
    whole, base = good(DAMAGED), Built(DAMAGED).base
    stray = whole[:base - 1] + b"00000" + whole[base - 1:]
    return [
        case("entry-start-outside", "directory entry of 300 starts at 90000, past the record",
             around(start_outside)),
        case("entry-length-outside", "directory entry of 300 gives length 8000, past the record",
             around(length_outside)),
        case("entry-not-digits", "directory entry of 200 has length 'l3n9' and start 'st@rt'",
             around(not_digits)),
        case("directory-terminator-missing", "the directory's terminator is a space",
             around(no_terminator)),
        case("directory-terminator-cut",
             "the directory's terminator is cut out; base address and length point past the entries",
             around(directory_cut)),
        case("directory-terminator-cut-base-unchanged",
             "the directory's terminator is cut out; base address and length unchanged",
             around(directory_cut_stale)),
        case("directory-not-whole-entries", "five stray digits at the end of the directory",
             around(fix_lengths(stray))),
        case("directory-stray-bytes-old-base",
             "five stray digits at the end of the directory; base address as before them",
             around(fix_lengths(stray, keep_base=True))),
        case("tag-not-alphanumeric", "the tag of 300 is '3\\x000'", around(odd_tag),
             fields=DAMAGED[:3] + [("3\x000", DAMAGED[3][1])] + DAMAGED[4:]),
    ]


def terminator_cases():
    rec = fresh()
    field_space = rec.put(rec.field_end(2), b" ").out()
    rec = fresh()
    field_cut = bytes(rec.bytes[:rec.field_end(3)] + rec.bytes[rec.field_end(3) + 1:])
    cut_consistent = fresh().cut_field_terminator(2).out()
    rec = fresh()
    last_cut = rec.cut(rec.field_end(4)).out()
    last_cut_consistent = fresh().cut_field_terminator(4).out()
    left_out = Built(DAMAGED, field_terminator=b"").out()
    whole = good(DAMAGED)
    inside_200 = Built(DAMAGED).field_data(2) + 5
    inserted = fix_lengths(whole[:inside_200] + b"!" + whole[inside_200:], keep_base=True)
    inner_rt = DAMAGED[:3] + [("300", data_field("  ", ("a", "half\x1dhalf")))] + DAMAGED[4:]
    inner_ft = DAMAGED[:3] + [("300", data_field("  ", ("a", "half\x1ehalf")))] + DAMAGED[4:]
    return [
        case("field-terminator-missing", "the field terminator after 200 is a space",
             around(field_space)),
        case("field-terminator-dropped",
             "the field terminator after 300 is cut out; lengths unchanged", around(field_cut)),
        case("field-terminator-cut-directory-updated",
             "the field terminator after 200 is cut out; its length, the starts after it and the "
             "record length updated", around(cut_consistent)),
        case("last-field-terminator-cut",
             "the field terminator after 700, the last field, is cut out; lengths unchanged",
             around(last_cut)),
        case("last-field-terminator-cut-directory-updated",
             "the field terminator after 700, the last field, is cut out; its length and the "
             "record length updated", around(last_cut_consistent)),
        case("field-terminators-left-out",
             "no field has its terminator; the directory counts the data alone", around(left_out)),
        case("byte-inserted-in-field", "one byte inserted into 200; the directory not updated",
             around(inserted)),
        case("record-terminator-missing", "the record terminator is cut out; length unchanged",
             around(whole[:-1])),
        case("record-terminator-replaced", "the record terminator is a space",
             around(whole[:-1] + b" ")),
        case("record-terminator-in-field", "0x1D inside the data of 300; lengths count it",
             around(good(inner_rt)), fields=inner_rt),
        case("field-terminator-in-field", "0x1E inside the data of 300; lengths count it",
             around(good(inner_ft)), fields=inner_ft),
    ]


def between_record_cases():
    bom = b"\xef\xbb\xbf"
    noise = noise_bytes(2709, 61).replace(RT, b"?")
    return [
        case("crlf-between-records", "CR LF after every record",
             b"".join(good(r) + b"\r\n" for r in (GOOD_BEFORE, DAMAGED, GOOD_AFTER))),
        case("lf-between-records", "LF after every record",
             b"".join(good(r) + b"\n" for r in (GOOD_BEFORE, DAMAGED, GOOD_AFTER))),
        case("bom-at-start", "a UTF-8 byte-order mark before the first record",
             around(good(DAMAGED), before=bom)),
        case("bom-between-records", "a UTF-8 byte-order mark before every record",
             b"".join(bom + good(r) for r in (GOOD_BEFORE, DAMAGED, GOOD_AFTER))),
        case("random-bytes-between-records", "61 random bytes before and after the middle record",
             around(good(DAMAGED), between=noise)),
        case("random-bytes-with-terminator", "40 random bytes and a record terminator before it",
             around(noise_bytes(1996, 40) + RT + good(DAMAGED))),
        case("digit-junk-between-records", "bytes that start with five digits before it",
             around(b"01234 junk 56789\x1e" + good(DAMAGED))),
        case("nul-padding", "each record padded with NUL bytes to a 2,048-byte block",
             b"".join(pad(good(r), 2048) for r in (GOOD_BEFORE, DAMAGED, GOOD_AFTER))),
        case("empty-records", "two lone record terminators between records",
             around(good(DAMAGED), between=RT + RT)),
        case("ctrl-z-at-end", "a DOS end-of-file mark after the last record",
             around(good(DAMAGED)) + b"\x1a"),
    ]


def field_cases():
    odd = DAMAGED[:2] + [("200", b"x%" + DAMAGED[2][1][2:])] + DAMAGED[3:]
    nul = DAMAGED[:4] + [("700", b"\x00\x00" + DAMAGED[4][1][2:])]
    plain = DAMAGED[:3] + [("300", b"  plain text without subfields")] + DAMAGED[4:]
    return [
        case("indicators-not-digits", "the indicators of 200 are 'x%'", around(good(odd)),
             fields=odd),
        case("indicators-nul", "the indicators of 700 are NUL bytes", around(good(nul)),
             fields=nul),
        case("data-field-without-subfields", "300 has indicators and text but no subfield",
             around(good(plain)), fields=plain),
    ]


def size_cases():
    long = DAMAGED[:3] + [("300", data_field("  ", ("a", "длинное поле " * 900)))] + DAMAGED[4:]
    long_length = len(long[3][1]) + 1
    big = DAMAGED[:3] + [("5%02d" % n, data_field("  ", ("a", "ж" * 5000))) for n in range(21)]
    big_length = len(good(big))
    cut = good(DAMAGED)[:Built(DAMAGED).field_data(3) + 10]
    return [
        case("field-over-9999", f"300 is {long_length:,} bytes; its entry gives "
             f"{long_length % 10000:04d}", around(good(long)), fields=long),
        case("record-over-99999", f"the record is {big_length:,} bytes; its leader gives "
             f"{big_length % 100000:05d}", around(good(big)), fields=big),
        Case("truncated-last-record", "the last record is cut off in its 300 field",
             good(GOOD_BEFORE) + good(GOOD_AFTER) + cut, [GOOD_BEFORE, GOOD_AFTER, DAMAGED], 2),
        case("truncated-record-in-middle", "a record cut off in its 300 field, then a good record",
             around(cut)),
    ]


def cases():
    """The catalogue, in file order."""
    return (leader_cases() + directory_cases() + terminator_cases() + between_record_cases()
            + field_cases() + size_cases())


def fix_lengths(record, keep_base=False):
    """A record with its leader length, and unless kept its base address, set to where its
    parts really are."""
    record = bytearray(record)
    record[0:5] = b"%05d" % len(record)
    if not keep_base:
        record[12:17] = b"%05d" % (record.index(FT, 24) + 1)
    return bytes(record)


def noise_bytes(seed, count):
    generator = random.Random(seed)
    return bytes(generator.randrange(256) for _ in range(count))


def pad(record, block):
    return record + b"\0" * (-len(record) % block)


def write_all(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    paths = []
    for number, case in enumerate(cases(), start=1):
        path = os.path.join(out_dir, f"{number:02d}-{case.name}.iso")
        with open(path, "wb") as file:
            file.write(case.file)
        paths.append((case, path))
    return paths


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} OUT_DIR", file=sys.stderr)
        return 64
    for _, path in write_all(sys.argv[1]):
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
