"""Records as luma-cli and yaz-marcdump each read them, in one comparable form.

Both readings become a list of records, each {"leader": str, "fields": [(tag, text)]}, where
text is the field in LUMA's text notation: indicators (blank as "#"), then subfields with the
delimiter written "$" and a literal "$" written "{dollar}". yaz gives the file's raw bytes;
they are decoded with the character set luma-cli reports, so a difference in framing, field
splitting, notation or decoding shows up as unequal text.
"""

import codecs
import json
import re
import unicodedata

from harness import luma_cli, run, yaz_marcdump

# Python codec for each character set name `luma-cli dump --json` reports.
PYTHON_CODECS = {
    "UTF-8": "utf-8",
    "Windows-1251": "cp1251",
    "KOI8-R": "koi8_r",
    "CP866": "cp866",
    "ASCII": "ascii",
    "ISO-8859-1": "latin-1",
    "Windows-1252": "cp1252",
}
# Sets yaz converts itself (its names); what it gives is UTF-8 with diacritics decomposed, so
# both readings are compared in NFC. yaz leaves out a byte it cannot read where LUMA shows
# U+FFFD, so LUMA's U+FFFD are left out as well.
YAZ_CONVERTED = {"MARC-8": "MARC-8", "ISO 5426": "ISO5426"}
# MARC-8 files where the two part on purpose, damaged where it shows: yaz leaves out text it
# cannot place, LUMA shows each byte it cannot read as U+FFFD and reads on.
DIFFER_ON_PURPOSE = {
    "bad_marc8_escape.dat": "ESC t names no set: yaz drops the rest of the subfield",
    "incomplete_esc_seq.mrc": "an escape sequence cut short at a field's end: yaz drops it whole, "
                              "LUMA shows U+FFFD for the ESC and the '$' after it as text",
    "185258.mrc": "a high byte as an indicator: yaz leaves indicators as bytes, LUMA reads them in "
                  "the file's set (ANSEL 0xB2 is ø)",
}
CONTROL_TAGS = {f"00{digit}" for digit in range(10)}


def _one_replacement_per_byte(error):
    # LUMA replaces each invalid byte by one U+FFFD; Python's "replace" may merge several.
    return "\ufffd", error.start + 1


codecs.register_error("luma_per_byte", _one_replacement_per_byte)


def luma_records(path):
    """The parsed lines of `luma-cli dump --json`."""
    result = luma_cli("dump", "--json", path)
    if result.returncode != 0:
        raise AssertionError(f"luma-cli dump --json {path} exited {result.returncode}: "
                             f"{result.stderr.decode(errors='replace')}")
    return [json.loads(line) for line in result.stdout.decode("utf-8").splitlines()]


def luma_comparable(record):
    """A luma-cli JSON record as yaz can show it: yaz drops any bytes between a data field's
    indicators and its first subfield, so they are dropped here too."""
    fields = []
    for tag, text in record["fields"]:
        if tag not in CONTROL_TAGS:
            indicators = _indicator_count(record["leader"])
            first_subfield = text.find("$", indicators)
            text = text[:indicators] + (text[first_subfield:] if first_subfield >= 0 else "")
        fields.append((tag, text))
    return {"leader": record["leader"], "fields": fields}


def _indicator_count(leader):
    return int(leader[10]) if len(leader) > 10 and leader[10].isdigit() else 2


def yaz_count(path):
    """The record count `yaz-marcdump -n -r` reports."""
    result = run([yaz_marcdump(), "-n", "-r", path])
    output = (result.stdout + result.stderr).decode("latin-1")
    match = re.search(r"records read: (\d+)", output)
    if not match:
        raise AssertionError(f"yaz-marcdump -n -r {path} printed no count")
    return int(match.group(1))


def yaz_reads_cleanly(path):
    """True when yaz reads the file without error and without a comment about damage."""
    result = run([yaz_marcdump(), "-i", "marc", "-o", "marcxml", path])
    return result.returncode == 0 and b"<!--" not in result.stdout + result.stderr


def _yaz_json_objects(path, conversion=()):
    result = run([yaz_marcdump(), *conversion, "-i", "marc", "-o", "json", path])
    if result.returncode != 0:
        raise AssertionError(f"yaz-marcdump -o json {path} exited {result.returncode}")
    # yaz writes the file's bytes unconverted inside JSON strings: read them one byte per
    # character; _raw turns each string back into its bytes.
    text = result.stdout.decode("latin-1")
    decoder = json.JSONDecoder()
    objects, pos = [], 0
    while True:
        while pos < len(text) and text[pos].isspace():
            pos += 1
        if pos == len(text):
            return objects
        obj, pos = decoder.raw_decode(text, pos)
        objects.append(obj)


def _raw(string):
    return string.encode("latin-1")


def _notation(data, tag, indicator_count, codec):
    text = data.decode(codec, errors="luma_per_byte")
    if tag in CONTROL_TAGS:
        return text
    indicators = text[:indicator_count].replace(" ", "#")
    return indicators + text[indicator_count:].replace("$", "{dollar}").replace("\x1f", "$")


def _yaz_field(tag, value, codec):
    if isinstance(value, str):
        return tag, _notation(_raw(value), tag, 0, codec)
    indicator_keys = sorted(key for key in value if re.fullmatch(r"ind\d", key))
    data = b"".join(_raw(value[key]) for key in indicator_keys)
    for subfield in value["subfields"]:
        (code, content), = subfield.items()
        data += b"\x1f" + _raw(code) + _raw(content)
    return tag, _notation(data, tag, len(indicator_keys), codec)


def yaz_records(path, charset):
    """yaz's reading of the file, decoded with `charset` (a name luma-cli reports)."""
    conversion, codec = (), PYTHON_CODECS.get(charset)
    if charset in YAZ_CONVERTED:
        conversion, codec = ("-f", YAZ_CONVERTED[charset], "-t", "UTF-8"), "utf-8"
    records = []
    for obj in _yaz_json_objects(path, conversion):
        fields = [_yaz_field(tag, value, codec)
                  for field in obj["fields"] for tag, value in field.items()]
        if conversion:
            fields = [(tag, unicodedata.normalize("NFC", text)) for tag, text in fields]
        leader = _raw(obj["leader"]).decode(codec, errors="luma_per_byte")
        records.append({"leader": leader, "fields": fields})
    return records


def differences(luma, yaz, limit=5):
    """Readable differences between luma-cli's and yaz's records, at most `limit`."""
    found = []
    if luma and luma[0].get("charset") in YAZ_CONVERTED:
        luma = [dict(record, fields=[(tag, unicodedata.normalize("NFC", text).replace("\ufffd", ""))
                                     for tag, text in record["fields"]]) for record in luma]
    if len(luma) != len(yaz):
        found.append(f"luma-cli reads {len(luma)} records, yaz {len(yaz)}")
    for number, (ours, theirs) in enumerate(zip(luma, yaz), start=1):
        ours = luma_comparable(ours)
        if ours["leader"] != theirs["leader"]:
            found.append(f"record {number}: leader {ours['leader']!r} != {theirs['leader']!r}")
        for index, (mine, other) in enumerate(zip(ours["fields"], theirs["fields"])):
            if mine != other:
                found.append(f"record {number} field {index}: {mine!r} != {other!r}")
                break
        if len(ours["fields"]) != len(theirs["fields"]):
            found.append(f"record {number}: {len(ours['fields'])} fields, "
                         f"yaz {len(theirs['fields'])}")
    return found[:limit]
