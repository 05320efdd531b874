#!/usr/bin/env python3
"""LUMA's MARC-8 reading against yaz-marcdump's, field by field, after NFC on both sides (yaz
writes diacritics decomposed): on the MARC-8 files of ../shared/corpus and on records made here
for each escape set.

    yaz_decode_test.py PROBE CORPUS_DIR
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import unicodedata
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from iso_records import iso_record  # noqa: E402

SKIP_EXIT_CODE = 77
NS = "{http://www.loc.gov/MARC21/slim}"

# Where LUMA and yaz part on purpose. yaz leaves out what it cannot read (a character a set
# lacks) and drops the rest of a subfield after an escape sequence it does not know; LUMA shows
# U+FFFD for each byte it cannot read and reads on, so that no text is lost. A field that
# differs only in LUMA's U+FFFD is that case and passes; these files differ beyond it.
DAMAGED_ESCAPES = {
    "bad_marc8_escape.dat": "ESC t (no set has the final byte t): yaz drops the rest of the subfield",
}

# MARC-8 files of the corpus: leader/09 blank, text beyond ASCII or escape sequences.
CORPUS_FILES = [
    "pymarc/marc8.dat",
    "pymarc/bad_marc8_escape.dat",
    "marc4j/cyrillic_capital_e.mrc",
    "marc4j/greekmissingcharsetchange.mrc",
    "marc4j/brkrtest.mrc",
    "marc4j/selectedRecs.mrc",
]


# One field for each way of reaching a set: the G1 default (ANSEL diacritics before their
# letter), each single-byte set through ESC ( F or ESC ) F and back, the three technique-1 sets,
# and the East Asian set through ESC $ 1.
CRAFTED = [
    ("245", b"10\x1faDe la solitude \xe1a la communaut\xe2e."),
    ("880", b"10\x1fa\x1b(NGAVKOW\x1b(B text"),
    ("880", b"10\x1fa\x1b)NRTQ\xe7\xd3\x1b)E"),
    ("500", b"  \x1faH\x1bb2\x1bsO and E\x1bp2\x1bs and \x1bga\x1bs"),
    ("880", b"10\x1fa\x1b(2abc\x1b(B"),
    ("880", b"10\x1fa\x1b(3HIJ\x1b(B"),
    ("880", b"10\x1fa\x1b(SABG\x1b(B"),
    ("880", b"10\x1fa\x1b$1!#(\x1b(B"),
    ("880", b"10\x1fa\x1b(QA\x1b(B"),
    ("880", b"10\x1fa\x1b(4!\x1b(B"),
]


# ISO 5426: every diacritic before its letter, two on one letter, a letter of the upper half
# of its own, and ASCII around them.
CRAFTED_ISO5426 = [
    ("200", b"1 \x1faCaf\xc2e \xc8a la cr\xc3eme \xc1a Z\xcfurich, \xc2\xc8u \xe1 \xf9"),
    ("210", b"  \x1faPraha :\x1fcN\xc2arodn\xc2i \xcfcesk\xc2y"),
]


def yaz_fields(path, charset="MARC-8"):
    run = subprocess.run(["yaz-marcdump", "-f", charset, "-t", "UTF-8", "-o", "marcxml", str(path)],
                         capture_output=True, check=False)
    records = []
    for rec in ET.fromstring(b"<all>" + run.stdout.replace(b'<?xml version="1.0"?>', b"") + b"</all>").iter(NS + "record"):
        fields = []
        for field in rec:
            if field.tag == NS + "controlfield":
                fields.append((field.get("tag"), field.text or ""))
            elif field.tag == NS + "datafield":
                text = (field.get("ind1") or " ") + (field.get("ind2") or " ")
                for sub in field:
                    text += "\x1f" + sub.get("code") + (sub.text or "")
                fields.append((field.get("tag"), text))
        records.append(fields)
    return records


def luma_fields(probe, path, charset="marc8"):
    """Every record's fields, None for a record in UTF-8."""
    run = subprocess.run([probe, charset, str(path)], capture_output=True, text=True, check=True)
    records = []
    for line in run.stdout.splitlines():
        if line.startswith("record "):
            records.append(None if line.endswith(" utf-8") else [])
        elif records[-1] is None:
            continue
        else:
            tag, data = line.split("\t")
            records[-1].append((tag, bytes.fromhex(data).decode("utf-8")))
    return records


def compare(probe, path, iso5426=False):
    faults = []
    if iso5426:
        ours, theirs = luma_fields(probe, path, "iso5426"), yaz_fields(path, "ISO5426")
    else:
        ours, theirs = luma_fields(probe, path), yaz_fields(path)
    if len(ours) != len(theirs):
        return [f"{path.name}: {len(ours)} records, yaz {len(theirs)}"]
    for number, (mine, yours) in enumerate(zip(ours, theirs), 1):
        if mine is None:
            continue
        for (tag, text), (other_tag, other) in zip(mine, yours):
            a, b = unicodedata.normalize("NFC", text), unicodedata.normalize("NFC", other)
            if tag == other_tag and a.replace("\ufffd", "") == b:
                continue
            if path.name in DAMAGED_ESCAPES:
                print(f"{path.name} record {number} field {tag} differs on purpose: {DAMAGED_ESCAPES[path.name]}")
                continue
            faults.append(f"{path.name} record {number} field {tag}:\n  LUMA {a!r}\n  yaz  {b!r}")
    return faults


def main():
    probe, corpus = sys.argv[1], pathlib.Path(sys.argv[2])
    faults = []
    with tempfile.TemporaryDirectory() as folder:
        crafted = pathlib.Path(folder) / "escapes.mrc"
        crafted.write_bytes(b"".join(iso_record([("001", b"x"), field]) for field in CRAFTED))
        faults += compare(probe, crafted)
        unimarc = pathlib.Path(folder) / "iso5426.mrc"
        unimarc.write_bytes(b"".join(iso_record([("001", b"x"), field]) for field in CRAFTED_ISO5426))
        faults += compare(probe, unimarc, iso5426=True)
    if corpus.is_dir():
        for name in CORPUS_FILES:
            faults += compare(probe, corpus / name)
    else:
        print(f"SKIPPED the corpus files: {corpus} is absent")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
