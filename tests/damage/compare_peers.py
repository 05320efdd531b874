#!/usr/bin/env python3
"""Reads every file of the damage catalogue (make_damaged.py) with luma-cli, yaz-marcdump and
MARC::Record, and prints the comparison as a Markdown table.

    compare_peers.py --luma-cli PATH [--yaz PATH] [--out FILE] [--check]

--out writes the table into FILE with its header; --check exits 1 when LUMA, on any case,
reads fewer records, fields or intact fields than the best peer, loses the good record after
the damaged one, or reports no problem with an offset on the damage. Exit 77 when a peer is
not installed.
"""

import argparse
import collections
import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

import make_damaged

HERE = os.path.dirname(os.path.abspath(__file__))
SKIP_EXIT_CODE = 77
PYTHON_CODECS = {"UTF-8": "utf-8", "Windows-1251": "cp1251", "KOI8-R": "koi8_r",
                 "CP866": "cp866", "ASCII": "cp1251"}
CONTROL_TAGS = {f"00{digit}" for digit in range(10)}


class Reading:
    """What one reader made of one file: records as lists of (tag, field bytes)."""

    def __init__(self, records, problems=()):
        self.records = records
        self.problems = list(problems)

    def with_fields(self):
        return [record for record in self.records if record]

    def field_count(self):
        return sum(len(record) for record in self.records)

    def intact_count(self, case):
        """Fields equal, tag and bytes, to a field the damaged file was made from."""
        intended = collections.Counter(field for record in case.records for field in record)
        got = collections.Counter(field for record in self.records for field in record)
        return sum(min(count, intended[field]) for field, count in got.items())

    def kept(self, fields):
        return any(record == list(fields) for record in self.records)


def run(command):
    return subprocess.run(command, capture_output=True, timeout=120, check=False)


# --- luma-cli ---------------------------------------------------------------------------

def luma_field_bytes(tag, text, indicator_count, codec):
    """A field of `dump --json` back in the file's bytes: the notation undone."""
    if tag in CONTROL_TAGS:
        return text.encode(codec, errors="replace")
    indicators = text[:indicator_count].replace("#", " ")
    rest = text[indicator_count:].replace("$", "\x1f").replace("{dollar}", "$")
    return (indicators + rest).encode(codec, errors="replace")


def read_with_luma(luma_cli, path):
    result = run([luma_cli, "dump", "--json", path])
    if result.returncode not in (0,):
        raise RuntimeError(f"luma-cli dump --json {path} exited {result.returncode}: "
                           f"{result.stderr.decode(errors='replace')}")
    records, problems = [], []
    for line in result.stdout.decode("utf-8").splitlines():
        record = json.loads(line)
        codec = PYTHON_CODECS[record["charset"]]
        leader = record["leader"]
        indicators = int(leader[10]) if len(leader) > 10 and leader[10].isdigit() else 2
        records.append([(tag, luma_field_bytes(tag, text, indicators, codec))
                        for tag, text in record["fields"]])
        problems += [f"record {record['record']}, {text}" for text in record["problems"]]
    return Reading(records, problems)


# --- yaz-marcdump -----------------------------------------------------------------------

def yaz_objects(output):
    """The JSON objects of `yaz-marcdump -o json`, skipping the comments it writes between
    them about damage."""
    text = output.decode("latin-1")  # yaz copies the file's bytes: one character per byte
    decoder, objects, pos = json.JSONDecoder(), [], 0
    while True:
        while pos < len(text) and text[pos].isspace():
            pos += 1
        if pos == len(text):
            return objects
        if text.startswith("<!--", pos):
            pos = text.index("-->", pos) + 3
            continue
        obj, pos = decoder.raw_decode(text, pos)
        objects.append(obj)


def yaz_field(tag, value):
    raw = lambda text: text.encode("latin-1")  # noqa: E731
    if isinstance(value, str):
        return tag, raw(value)
    keys = sorted(key for key in value if re.fullmatch(r"ind\d", key))
    data = b"".join(raw(value[key]) for key in keys)
    for subfield in value["subfields"]:
        (code, content), = subfield.items()
        data += b"\x1f" + raw(code) + raw(content)
    return tag, data


def read_with_yaz(yaz, path):
    result = run([yaz, "-i", "marc", "-o", "json", path])
    records = [[yaz_field(tag, value) for field in obj["fields"] for tag, value in field.items()]
               for obj in yaz_objects(result.stdout)]
    return Reading(records)


# --- MARC::Record -----------------------------------------------------------------------

def read_with_marc_record(path):
    result = run(["perl", os.path.join(HERE, "marc_record_read.pl"), path])
    if result.returncode != 0:
        raise RuntimeError(f"marc_record_read.pl {path}: {result.stderr.decode(errors='replace')}")
    records, problems = [], []
    for line in result.stdout.decode("latin-1").splitlines():
        kind, _, rest = line.partition(" ")
        if kind == "R":
            records.append([])
        elif kind == "F":
            tag, _, data = rest.rpartition(" ")
            records[-1].append((tag, bytes.fromhex(data)))
        else:
            problems.append(rest)
    return Reading(records, problems)


# --- comparison -------------------------------------------------------------------------

class Row:
    def __init__(self, case, luma, yaz, marc):
        self.case, self.luma, self.yaz, self.marc = case, luma, yaz, marc

    def peers(self):
        return (("yaz", self.yaz), ("MARC::Record", self.marc))

    def shortfalls(self):
        """Why LUMA falls short on this case; empty when it does not."""
        found = []
        measures = (("records", lambda r: len(r.with_fields())),
                    ("fields", Reading.field_count),
                    ("intact fields", lambda r: r.intact_count(self.case)))
        for name, measure in measures:
            for peer, reading in self.peers():
                if measure(self.luma) < measure(reading):
                    found.append(f"{name}: LUMA {measure(self.luma)}, {peer} {measure(reading)}")
        if self.case.has_good_after and not self.luma.kept(make_damaged.GOOD_AFTER):
            found.append("the good record after the damaged one is lost")
        if not any(self.on_damage(int(offset)) for problem in self.luma.problems
                   for offset in re.findall(r"offset (\d+): ", problem)):
            found.append("no problem is reported with an offset on the damage")
        return found

    def on_damage(self, offset):
        """Whether `offset` lies outside the good records, which the damage leaves whole."""
        for fields in (make_damaged.GOOD_BEFORE, make_damaged.GOOD_AFTER):
            record = make_damaged.good(fields)
            start = self.case.file.find(record)
            if start >= 0 and start < offset < start + len(record):
                return False
        return True


def cell(reading, case):
    empty = len(reading.records) - len(reading.with_fields())
    text = f"{len(reading.with_fields())} / {reading.field_count()} ({reading.intact_count(case)})"
    return text + (f" +{empty} empty" if empty else "")


def kept_cell(row):
    if not row.case.has_good_after:
        return "n/a"
    return " / ".join("yes" if reading.kept(make_damaged.GOOD_AFTER) else "**no**"
                      for reading in (row.luma, row.yaz, row.marc))


def escape(text):
    return text.replace("|", "\\|").replace("\n", " ")


def table(rows):
    lines = ["| case | LUMA | yaz | MARC::Record | good record after kept (LUMA / yaz / M::R) "
             "| LUMA's first problem |", "|---|---|---|---|---|---|"]
    for number, row in enumerate(rows, start=1):
        problem = row.luma.problems[0] if row.luma.problems else "**none**"
        if len(row.luma.problems) > 1:
            problem += f" (+{len(row.luma.problems) - 1} more)"
        lines.append(f"| {number:02d} {row.case.name}: {escape(row.case.description)} "
                     f"| {cell(row.luma, row.case)} | {cell(row.yaz, row.case)} "
                     f"| {cell(row.marc, row.case)} | {kept_cell(row)} | {escape(problem)} |")
    return "\n".join(lines) + "\n"


def summary(rows):
    """One line per reader: on how many cases it kept the record after the damage, and on how
    many it read every intact field the best reader read."""
    lines = []
    after = [row for row in rows if row.case.has_good_after]
    for name, pick in (("LUMA", lambda row: row.luma), ("yaz", lambda row: row.yaz),
                       ("MARC::Record", lambda row: row.marc)):
        kept = sum(pick(row).kept(make_damaged.GOOD_AFTER) for row in after)
        best = sum(pick(row).intact_count(row.case) ==
                   max(r.intact_count(row.case) for r in (row.luma, row.yaz, row.marc))
                   for row in rows)
        lines.append(f"- {name}: kept the record after the damage in {kept} of {len(after)} "
                     f"cases; read the most intact fields in {best} of {len(rows)}.")
    return "\n".join(lines) + "\n"


HEADER = """# LUMA on damaged files, beside yaz and MARC::Record

Produced by `tests/damage/compare_peers.py` on {date} with yaz-marcdump {yaz_version} and
MARC::Record {marc_version} (Debian 12). Regenerate with

    python3 tests/damage/compare_peers.py --luma-cli build/tests/src/cli/luma-cli --out docs/damaged-files.md

Each file (written by `tests/damage/make_damaged.py`) holds a good record, the damaged
record and a good record after it; the good records carry Cyrillic text in Windows-1251. The
last record of `truncated-last-record` is the damaged one.

How the cells count, the same way for every reader:

- `R / F (I)`: R records that have at least one field, F fields in all records (control and
  data fields), I of them intact: equal in tag and bytes to a field the file was made from.
  A garbage fragment a reader returns as a record without any field is shown as `+N empty`
  and not counted as a record.
- LUMA: `luma-cli dump --json`, its field notation turned back into the file's bytes.
  yaz: `yaz-marcdump -i marc -o json`, its default ISO 2709 reading, which skips bytes until
  a digit where a record should start. yaz drops bytes between a field's indicators and its
  first subfield, so such a field is never intact in yaz. MARC::Record:
  `MARC::File::USMARC`, one `next` per record inside `eval`, so a record that dies is
  counted as lost and reading goes on (`tests/damage/marc_record_read.pl`).
- The test `damage.compare_peers` fails when LUMA, on any case, has fewer records, fields or
  intact fields than either peer, loses the good record after the damaged one, or reports
  no problem whose offset lies on the damage (anywhere but inside a good record).

"""


def versions(yaz):
    yaz_version = run([yaz, "-V"]).stdout.decode(errors="replace").split()
    marc = run(["perl", "-MMARC::Record", "-e", "print $MARC::Record::VERSION"])
    return (yaz_version[2] if len(yaz_version) > 2 else "?"), marc.stdout.decode().strip()


def compare(luma_cli, yaz, folder):
    rows = []
    for case, path in make_damaged.write_all(folder):
        rows.append(Row(case, read_with_luma(luma_cli, path), read_with_yaz(yaz, path),
                        read_with_marc_record(path)))
    return rows


def missing_peer(yaz):
    if not yaz or not shutil.which(yaz):
        return "yaz-marcdump is not installed (Debian package yaz)"
    if run(["perl", "-MMARC::File::USMARC", "-e", "1"]).returncode != 0:
        return "MARC::Record is not installed (Debian package libmarc-record-perl)"
    return None


def kept_above(path):
    """What FILE holds above the generated part (a guide written by hand), kept by --out."""
    try:
        with open(path, encoding="utf-8") as file:
            text = file.read()
    except FileNotFoundError:
        return ""
    at = text.find(HEADER.splitlines()[0])
    return text[:at] if at > 0 else ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--luma-cli", required=True)
    parser.add_argument("--yaz", default=shutil.which("yaz-marcdump") or "")
    parser.add_argument("--out")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    reason = missing_peer(args.yaz)
    if reason:
        print(f"SKIPPED: {reason}")
        return SKIP_EXIT_CODE
    with tempfile.TemporaryDirectory() as folder:
        rows = compare(args.luma_cli, args.yaz, folder)
    text = table(rows)
    if args.out:
        yaz_version, marc_version = versions(args.yaz)
        kept = kept_above(args.out)
        with open(args.out, "w", encoding="utf-8") as file:
            file.write(kept)
            file.write(HEADER.format(date=datetime.date.today().isoformat(),
                                     yaz_version=yaz_version, marc_version=marc_version))
            file.write(text)
            file.write("\nSummary:\n\n" + summary(rows))
    print(text + "\n" + summary(rows))
    failures = [f"{row.case.name}: {reason}" for row in rows for reason in row.shortfalls()]
    if args.check:
        for failure in failures:
            print("FAIL", failure)
        print(f"{len(rows)} cases, {len(failures)} shortfalls of LUMA")
        return 1 if failures else 0
    return 0


if __name__ == "__main__":
    sys.exit(main())
