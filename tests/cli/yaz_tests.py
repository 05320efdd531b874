#!/usr/bin/env python3
"""luma-cli compared with yaz-marcdump, an independent ISO 2709 reader.

    yaz_tests.py CorpusMatchesYaz | WrittenFileMatchesYaz | MarkedFileMatchesYaz
"""

import os
import sys
import unittest

import harness
from marc_views import DIFFER_ON_PURPOSE, differences, luma_records, yaz_count, yaz_reads_cleanly, yaz_records

# A tag in the middle of most records, so the directory is rebuilt around it.
LABEL_TAG = "555"
LABEL_TEXT = "##$aПроверка {dollar}1"


def corpus_files():
    root = harness.corpus_dir()
    return sorted(os.path.join(folder, name)
                  for folder, _, names in os.walk(root)
                  for name in names if not name.endswith(".md"))


class CorpusMatchesYaz(unittest.TestCase):
    """Every file yaz reads without complaint: same record count, leaders and fields."""
    needs = ("corpus", "yaz")

    def test_clean_files_read_alike(self):
        compared = 0
        for path in corpus_files():
            if not yaz_reads_cleanly(path):
                continue
            compared += 1
            with self.subTest(file=os.path.relpath(path, harness.corpus_dir())):
                count = harness.luma_cli("count", path)
                self.assertEqual(count.stdout.decode(), f"records: {yaz_count(path)}\n")
                ours = luma_records(path)
                found = differences(ours, yaz_records(path, ours[0]["charset"]))
                if os.path.basename(path) in DIFFER_ON_PURPOSE:
                    print(f"{path}: differs on purpose ({DIFFER_ON_PURPOSE[os.path.basename(path)]})")
                    self.assertNotEqual(found, [], "the damage this file is known for is gone")
                    continue
                self.assertEqual(found, [])
        # Guards against a corpus or yaz change that would quietly leave nothing to compare.
        self.assertGreaterEqual(compared, 20)


class WrittenFileMatchesYaz(harness.TempFolderTest):
    """A file written from the store's ISO buffers after AddField reads back alike in yaz,
    changed records gain exactly the new field and unchanged ones keep their bytes."""
    needs = ("yaz",)

    def write_changed(self, source):
        target = os.path.join(self.folder.name, "changed.iso")
        result = harness.write_changed(source, target, LABEL_TAG, LABEL_TEXT)
        self.assertEqual(result.returncode, 0, result.stderr)
        return target

    def assert_written_file_reads_back(self, source):
        written = self.write_changed(source)
        self.assertTrue(yaz_reads_cleanly(written))
        before, after = luma_records(source), luma_records(written)
        self.assertEqual(differences(after, yaz_records(written, after[0]["charset"])), [])
        self.assertEqual(len(after), len(before))
        if before[0]["charset"] != "ASCII":  # an ASCII file takes a code page for Cyrillic
            self.assertEqual(after[0]["charset"], before[0]["charset"])
        with open(source, "rb") as file:
            source_bytes = file.read()
        with open(written, "rb") as file:
            written_bytes = file.read()
        for index, (old, new) in enumerate(zip(before, after)):
            if index % 2 == 0:
                self.assert_gained_label(old, new)
            else:
                self.assertEqual(self.record_bytes(written_bytes, new),
                                 self.record_bytes(source_bytes, old))

    def assert_gained_label(self, old, new):
        # AddField puts the field after the last field whose tag is not greater.
        position = max((index + 1 for index, (tag, _) in enumerate(old["fields"])
                        if tag <= LABEL_TAG), default=0)
        label = [LABEL_TAG, LABEL_TEXT]
        expected = old["fields"][:position] + [label] + old["fields"][position:]
        self.assertEqual(new["fields"], expected)
        self.assertEqual(new["problems"], [])

    @staticmethod
    def record_bytes(file_bytes, record):
        return file_bytes[record["offset"]:record["offset"] + record["length"]]

    def test_sample_in_windows_1251(self):
        self.assert_written_file_reads_back(harness.env_path("LUMA_SAMPLE"))

    def test_corpus_files_in_utf8_and_other_layouts(self):
        if not os.path.isdir(harness.corpus_dir()):
            self.skipTest("corpus folder absent")
        for name in ("marc4j/065001035.mrc", "pymarc/testunimarc.dat",
                     "marc4j/unordered-directory-entries.mrc", "pymarc/1251.dat"):
            with self.subTest(file=name):
                self.assert_written_file_reads_back(os.path.join(harness.corpus_dir(), name))


class MarkedFileMatchesYaz(harness.TempFolderTest):
    """`luma-cli mark` on real files: yaz reads the output with the same records, the marked
    records carry the label, every other record keeps its bytes, and `unmark` of the same
    records gives the source back."""
    needs = ("corpus", "yaz")
    TAG, TEXT = "901", "##$aОтобрано"

    def run_cli(self, *args):
        result = harness.luma_cli(*args)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        return result.stdout.decode()

    def mark(self, action, source, numbers, name):
        target = os.path.join(self.folder.name, name)
        listed = ",".join(str(number) for number in numbers)
        printed = self.run_cli(action, source, "--label", self.TAG, self.TEXT,
                               "--records", listed, "--output", target)
        return target, int(printed.removeprefix("marked: "))

    def test_marking_and_unmarking_corpus_files(self):
        for name in ("pymarc/1251.dat", "marc4j/pride-and-prejudice-fixed.mrc",
                     "pymarc/marc.dat", "marc4j/065001035.mrc"):
            with self.subTest(file=name):
                self.assert_marks_round_trip(os.path.join(harness.corpus_dir(), name))

    def assert_marks_round_trip(self, source):
        before = luma_records(source)
        numbers = list(range(1, len(before) + 1, 3))
        marked, count = self.mark("mark", source, numbers, "marked.iso")
        self.assertEqual(count, len(numbers))
        self.assertEqual(self.run_cli("count", marked, "--label", self.TAG, self.TEXT),
                         f"records: {len(before)}\nmarked: {len(numbers)}\n")
        self.assertEqual(yaz_count(marked), len(before))
        after = luma_records(marked)
        self.assertEqual(differences(after, yaz_records(marked, after[0]["charset"])), [])
        with open(source, "rb") as file:
            source_bytes = file.read()
        with open(marked, "rb") as file:
            marked_bytes = file.read()
        for number, (old, new) in enumerate(zip(before, after), start=1):
            if number in numbers:
                self.assertIn([self.TAG, self.TEXT], new["fields"])
            else:
                self.assertEqual(WrittenFileMatchesYaz.record_bytes(marked_bytes, new),
                                 WrittenFileMatchesYaz.record_bytes(source_bytes, old))
        unmarked, count = self.mark("unmark", marked, numbers, "unmarked.iso")
        self.assertEqual(count, 0)
        with open(unmarked, "rb") as file:
            self.assertEqual(file.read(), source_bytes)


class ExtractedFileMatchesYaz(harness.TempFolderTest):
    """`luma-cli extract` after `mark`: yaz reads exactly the marked records, byte for byte as the
    marked file holds them; a label no record carries writes nothing."""
    needs = ("corpus", "yaz")
    TAG, TEXT = "901", "##$aВыбрано"

    def run_cli(self, *args):
        result = harness.luma_cli(*args)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        return result.stdout.decode()

    def test_extracting_marked_corpus_records(self):
        for name in ("pymarc/1251.dat", "marc4j/pride-and-prejudice-fixed.mrc", "pymarc/marc.dat"):
            with self.subTest(file=name):
                self.assert_extracts_marked(os.path.join(harness.corpus_dir(), name))

    def assert_extracts_marked(self, source):
        marked = os.path.join(self.folder.name, "marked.iso")
        extracted = os.path.join(self.folder.name, "extracted.iso")
        count = len(luma_records(source))
        numbers = sorted({1, count} | set(range(2, count + 1, 4)))
        self.run_cli("mark", source, "--label", self.TAG, self.TEXT,
                     "--records", ",".join(map(str, numbers)), "--output", marked)
        self.assertEqual(self.run_cli("extract", marked, "--label", self.TAG, self.TEXT, "--output", extracted),
                         f"extracted: {len(numbers)}\n")
        records = luma_records(marked)
        with open(marked, "rb") as file:
            marked_bytes = file.read()
        with open(extracted, "rb") as file:
            extracted_bytes = file.read()
        self.assertEqual(extracted_bytes, b"".join(WrittenFileMatchesYaz.record_bytes(marked_bytes, records[n - 1])
                                                   for n in numbers))
        self.assertEqual(yaz_count(extracted), len(numbers))
        chosen = luma_records(extracted)
        self.assertEqual(differences(chosen, yaz_records(extracted, chosen[0]["charset"])), [])
        self.assertEqual([r["fields"] for r in chosen], [records[n - 1]["fields"] for n in numbers])

    def test_label_no_record_carries_writes_nothing(self):
        extracted = os.path.join(self.folder.name, "extracted.iso")
        source = os.path.join(harness.corpus_dir(), "pymarc/1251.dat")
        result = harness.luma_cli("extract", source, "--label", self.TAG, self.TEXT, "--output", extracted)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{extracted} не записан".encode(), result.stderr)
        self.assertFalse(os.path.exists(extracted))


if __name__ == "__main__":
    sys.exit(harness.main(sys.modules[__name__]))
