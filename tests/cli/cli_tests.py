#!/usr/bin/env python3
"""luma-cli as a user meets it: exit codes, messages and output formats on real files.

    cli_tests.py UnreadableFiles | CommandLine | Count | Dump | Check | Sample | CorpusDoesNotCrash
                 | Mark | Languages | KilledMark | Find
"""

import json
import os
import random
import re
import subprocess
import sys
import tempfile
import time
import unittest

import harness
from harness import luma_cli
from marc_views import luma_records

PROBLEM_LINE = re.compile(r"record (\d+), offset (\d+): \S.*")
JSON_KEYS = ["record", "offset", "length", "charset", "leader", "fields", "problems"]
COMMANDS = (["count"], ["count", "--label", "901", "##$ax"], ["dump"], ["dump", "--json"],
            ["check"])


def json_keys(record_number):
    """The keys of a `dump --json` line: the first also says why the set was taken."""
    return JSON_KEYS + (["charset_evidence"] if record_number == 1 else [])


def sample_path():
    return harness.env_path("LUMA_SAMPLE")


def sample_bytes():
    with open(sample_path(), "rb") as file:
        return file.read()


class UnreadableFiles(harness.TempFolderTest):
    """Every command exits 2 with one line on stderr naming the file, and prints nothing else."""

    def assert_unreadable(self, path):
        for command in COMMANDS:
            with self.subTest(command=command):
                result = luma_cli(*command, path)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, b"")
                message = result.stderr.decode()
                self.assertRegex(message, r"\Aluma-cli: [^\n]+\n\Z")
                self.assertIn(path, message)

    def test_missing_file(self):
        self.assert_unreadable(os.path.join(self.folder.name, "absent.iso"))

    def test_folder(self):
        self.assert_unreadable(self.folder.name)

    def test_empty_file(self):
        self.assert_unreadable(self.write_file("empty.iso", b""))

    def test_random_bytes(self):
        garbage = random.Random(2709).randbytes(64 * 1024)
        self.assert_unreadable(self.write_file("garbage.iso", garbage))

    def test_text_file(self):
        self.assert_unreadable(self.write_file("notes.iso", "Не запись.\n".encode() * 100))


class CommandLine(unittest.TestCase):
    """--help, --version and wrong command lines."""

    def test_version_is_the_project_version(self):
        result = luma_cli("--version")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout.decode().strip(),
                         "luma-cli " + harness.env_path("LUMA_VERSION"))

    def test_help_names_every_command(self):
        result = luma_cli("--help")
        self.assertEqual(result.returncode, 0)
        for command in ("count", "dump", "check", "find", "mark", "unmark", "extract"):
            self.assertRegex(result.stdout.decode(), rf"\n\s+{command}\s")

    def test_wrong_command_lines_exit_64(self):
        for args in ([], ["convert", sample_path()], ["count"], ["dump", "--xml", sample_path()],
                     ["count", sample_path(), "--label", "901"]):
            with self.subTest(args=args):
                result = luma_cli(*args)
                self.assertEqual(result.returncode, 64)
                self.assertEqual(result.stdout, b"")
                self.assertNotEqual(result.stderr, b"")


class Count(harness.TempFolderTest):
    """The sample holds 6 records; 901 "##$aОтобрано" in two, 901 "##$aПросмотрено" in one."""

    def count(self, *args):
        result = luma_cli("count", sample_path(), *args)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.decode()

    def test_records_only_without_label(self):
        self.assertEqual(self.count(), "records: 6\n")

    def test_label_counts_fields_with_equal_tag_and_text(self):
        self.assertEqual(self.count("--label", "901", "##$aОтобрано"), "records: 6\nmarked: 2\n")
        self.assertEqual(self.count("--label", "901", "##$aПросмотрено"),
                         "records: 6\nmarked: 1\n")

    def test_label_text_must_match_whole(self):
        for tag, text in (("901", "##$aОтобр"), ("901", "#1$aОтобрано"), ("901", "##$bОтобрано"),
                          ("901", "##$aотобрано"), ("902", "##$aОтобрано")):
            with self.subTest(tag=tag, text=text):
                self.assertEqual(self.count("--label", tag, text), "records: 6\nmarked: 0\n")

    def test_label_counts_fields_not_records(self):
        # Records 1, 3 and 5 gain one more such field: record 1 then carries it twice.
        path = os.path.join(self.folder.name, "twice.iso")
        result = harness.write_changed(sample_path(), path, "901", "##$aОтобрано")
        self.assertEqual(result.returncode, 0, result.stderr)
        result = luma_cli("count", path, "--label", "901", "##$aОтобрано")
        self.assertEqual(result.stdout.decode(), "records: 6\nmarked: 5\n")


class Dump(harness.TempFolderTest):
    """The text dump and the JSON dump of the sample, and JSON from damaged leaders."""

    def test_text_dump_lists_the_same_fields_as_json(self):
        result = luma_cli("dump", sample_path())
        self.assertEqual(result.returncode, 0)
        expected = []
        for record in luma_records(sample_path()):
            expected.append(f"=== {record['record']}")
            expected += [f"{tag}     {text}" for tag, text in record["fields"]]
        self.assertEqual(result.stdout.decode("utf-8").splitlines(), expected)

    def test_json_lines_carry_the_documented_keys(self):
        records = luma_records(sample_path())
        self.assertEqual([record["record"] for record in records], list(range(1, 7)))
        for record in records:
            self.assertEqual(list(record), json_keys(record["record"]))
            self.assertEqual(record["charset"], "Windows-1251")
            self.assertEqual(record["problems"], [])
            for field in record["fields"]:
                self.assertEqual(len(field), 2)
                self.assertRegex(field[0], r"\A[0-9]{3}\Z")

    def test_spans_and_leaders_locate_records_in_the_file(self):
        data = sample_bytes()
        position = 0
        for record in luma_records(sample_path()):
            self.assertEqual(record["offset"], position)
            end = record["offset"] + record["length"]
            self.assertEqual(data[end - 1:end], b"\x1d")
            self.assertEqual(record["leader"].encode(), data[position:position + 24])
            position = end
        self.assertEqual(position, len(data))

    def test_cyrillic_text_and_dollar_sign_in_notation(self):
        records = luma_records(sample_path())
        self.assertIn(["200", "1#$aЕвгений Онегин$eроман в стихах$fА. С. Пушкин"],
                      records[0]["fields"])
        self.assertIn(["010", "##$a978-5-699-12014-7$dUS{dollar}4.50"], records[4]["fields"])

    def test_json_stays_valid_for_leader_bytes_that_are_not_utf8(self):
        data = bytearray(sample_bytes())
        data[7] = 0xFF  # bibliographic level of record 1; not used for framing
        path = self.write_file("leader.iso", bytes(data))
        result = luma_cli("dump", "--json", path)
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = result.stdout.decode("utf-8").splitlines()  # strict: raises on invalid UTF-8
        self.assertEqual(len(lines), 6)
        self.assertEqual(json.loads(lines[0])["leader"][7], "\ufffd")


class Check(harness.TempFolderTest):
    """Problem lines, the summary line and the exit code, on clean and damaged copies."""

    def check(self, path):
        result = luma_cli("check", path)
        self.assertEqual(result.stderr, b"")
        return result.returncode, result.stdout.decode().splitlines()

    def damaged_sample(self, damage):
        data = sample_bytes()
        spans = [(r["offset"], r["length"]) for r in luma_records(sample_path())]
        return self.write_file("damaged.iso", damage(data, spans))

    def assert_problems(self, path, damaged_records):
        code, lines = self.check(path)
        self.assertEqual(code, 1)
        self.assertEqual(lines[-1], f"6 records, {len(damaged_records)} with problems")
        matches = [PROBLEM_LINE.fullmatch(line) for line in lines[:-1]]
        self.assertTrue(matches and all(matches), lines)
        self.assertEqual(sorted({int(m.group(1)) for m in matches}), damaged_records)
        offsets = [(int(m.group(1)), int(m.group(2))) for m in matches]
        self.assertEqual(offsets, sorted(offsets), "problems are listed in file order")
        return matches

    def test_clean_sample(self):
        self.assertEqual(self.check(sample_path()), (0, ["6 records, 0 with problems"]))

    def test_field_length_that_misses_its_terminator(self):
        def lengthen_fifth_field_of_record_3(data, spans):
            entry = spans[2][0] + 24 + 5 * 12 + 3
            length = int(data[entry:entry + 4]) + 5
            return data[:entry] + b"%04d" % length + data[entry + 4:]
        path = self.damaged_sample(lengthen_fifth_field_of_record_3)
        matches = self.assert_problems(path, [3])
        record_3 = luma_records(path)[2]
        for match in matches:
            self.assertIn(int(match.group(2)) - record_3["offset"], range(record_3["length"]))
        # The JSON dump reports the same problems with the record they belong to.
        self.assertEqual(record_3["problems"],
                         [match.group(0).split(", ", 1)[1] for match in matches])

    def test_junk_between_records(self):
        def insert_junk_before_record_3(data, spans):
            return data[:spans[2][0]] + b"JUNK" + data[spans[2][0]:]
        self.assert_problems(self.damaged_sample(insert_junk_before_record_3), [3])

    def test_two_damaged_records_in_file_order(self):
        def truncate_record_6_and_junk_before_2(data, spans):
            cut = data[:spans[5][0] + 100]
            return cut[:spans[1][0]] + b"JUNK" + cut[spans[1][0]:]
        self.assert_problems(self.damaged_sample(truncate_record_6_and_junk_before_2), [2, 6])


class Sample(harness.TempFolderTest):
    """The committed samples/sample.iso is what luma-make-sample writes today."""

    def test_regenerated_sample_is_identical(self):
        path = os.path.join(self.folder.name, "sample.iso")
        result = harness.run([harness.env_path("LUMA_MAKE_SAMPLE"), path])
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(path, "rb") as file:
            self.assertEqual(file.read(), sample_bytes())


class CorpusDoesNotCrash(unittest.TestCase):
    """Every corpus file, damaged or not: each command ends normally, JSON lines parse."""
    needs = ("corpus",)

    def test_every_command_on_every_file(self):
        root = harness.corpus_dir()
        paths = sorted(os.path.join(folder, name) for folder, _, names in os.walk(root)
                       for name in names if not name.endswith(".md"))
        self.assertTrue(paths)
        for path in paths:
            for command in COMMANDS:
                with self.subTest(file=os.path.relpath(path, root), command=command):
                    result = luma_cli(*command, path)
                    allowed = (0, 1) if command == ["check"] else (0,)
                    self.assertIn(result.returncode, allowed, result.stderr)
                    if command == ["dump", "--json"]:
                        for number, line in enumerate(result.stdout.decode("utf-8").splitlines(), start=1):
                            self.assertEqual(list(json.loads(line)), json_keys(number))


class Mark(harness.TempFolderTest):
    """mark and unmark: what they print, and what they leave on disk when they fail."""
    LABEL = ("--label", "901", "##$aОтобрано")

    def mark(self, *args, output="out.iso", source=None):
        target = os.path.join(self.folder.name, output)
        result = luma_cli(*args, source or sample_path(), *self.LABEL, "--output", target)
        return result, target

    def test_marks_listed_records_and_counts_every_mark(self):
        result, target = self.mark("mark", "--records", "3,2,5-6")
        self.assertEqual(result.returncode, 0, result.stderr)
        # The sample carries two marks already; record 3's 901 has another text, so it is left
        # as it is, and the records after it in the list are still marked.
        self.assertEqual(result.stdout, b"marked: 5\n")
        marked = [number for number, record in enumerate(luma_records(target), start=1)
                  if ["901", "##$aОтобрано"] in record["fields"]]
        self.assertEqual(marked, [1, 2, 4, 5, 6])

    def test_record_out_of_range_writes_nothing(self):
        result, target = self.mark("mark", "--records", "1,7")
        self.assertEqual(result.returncode, 1)
        self.assertIn("записи 7 нет".encode(), result.stderr)
        self.assertFalse(os.path.exists(target))

    def test_failures_leave_an_existing_output_intact(self):
        existing = self.write_file("out.iso", b"earlier results")
        result = luma_cli("mark", sample_path(), "--records", "1", "--label", "9x", "##$ax",
                          "--output", existing)
        self.assertEqual(result.returncode, 2)
        self.assertIn("Поле метки не настроено".encode(), result.stderr)
        result, _ = self.mark("unmark", "--records", "1", source=self.folder.name)
        self.assertEqual(result.returncode, 2)
        with open(existing, "rb") as file:
            self.assertEqual(file.read(), b"earlier results")

    def test_unwritable_output_is_reported(self):
        result, _ = self.mark("mark", "--records", "1", output="missing/out.iso")
        self.assertEqual(result.returncode, 2)
        self.assertIn("Ошибка сохранения файла!".encode(), result.stderr)

    def test_malformed_lists_are_usage_errors(self):
        for records in ("", "0", "3-1", "1,,2", "a", "1,"):
            with self.subTest(records=records):
                result, target = self.mark("mark", "--records", records)
                self.assertEqual(result.returncode, 64)
                self.assertFalse(os.path.exists(target))

    def test_no_working_copy_is_left_behind(self):
        before = set(os.listdir(tempfile.gettempdir()))
        self.mark("mark", "--records", "1-6")
        self.mark("mark", "--records", "9")
        leftovers = [name for name in set(os.listdir(tempfile.gettempdir())) - before
                     if name.startswith("NEW")]
        self.assertEqual(leftovers, [])



def catalogue_english():
    """The window's English for its Russian texts, from translations/luma_en.ts."""
    path = os.path.join(os.path.dirname(__file__), "..", "..", "translations", "luma_en.ts")
    with open(path, encoding="utf-8") as file:
        text = file.read().replace('<byte value="xd"/>', "\r")
    pairs = re.findall(r"<source>(.*?)</source>\s*<translation>(.*?)</translation>", text, re.S)
    return dict(pairs)


def one_line(text):
    return text.replace("\r\n", " ")


CYRILLIC = re.compile(r"[\u0400-\u04ff]")


class Languages(harness.TempFolderTest):
    """One language a run, chosen as the window chooses it: every message on stderr and the
    help in Russian or in English, never both, with single blanks; stdout and exit codes the
    same in both; each command's --help with its own exit codes."""

    def runs(self, *args, **environment):
        """The run in Russian and in English."""
        return {language: harness.run([harness.env_path("LUMA_CLI"), *args],
                                      env=dict(os.environ, LUMA_LANG=language, **environment))
                for language in ("ru", "en")}

    def error_runs(self):
        """Runs that fail, each with the words of the core and of the window's catalogue its
        message must carry: a refused mark, an unwritable output, a file that cannot be read,
        a wrong label, a record not in the file, wrong command lines."""
        folder = self.folder.name
        missing = os.path.join(folder, "absent.iso")
        output = os.path.join(folder, "out.iso")
        label = ("--label", "901")
        mark = ("mark", sample_path(), "--records", "2", "--output", output)
        return [
            (mark + label + ("##$a" + "x" * 9999,), ["Запись не изменена:"]),
            (mark + label + ("##$a\u4e2d\u6587",), ["Запись не изменена:"]),
            (("mark", sample_path(), "--records", "1", *label, "##$aNone", "--output",
              os.path.join(folder, "none", "out.iso")), ["Ошибка сохранения файла!"]),
            (("mark", sample_path(), "--records", "1", "--label", "9x", "##$aNone", "--output",
              output), ["Поле метки не настроено!\r\nЗадайте в настройках тег из трёх латинских букв или цифр."]),
            (("mark", sample_path(), "--records", "1,7", *label, "##$aNone", "--output", output), []),
            (("unmark", missing, "--records", "1", *label, "##$aNone", "--output", output),
             ["Ошибка чтения файла!"]),
            (("count", missing), []),
            (("dump", folder), []),
            (("extract", sample_path(), *label, "##$aNone", "--output", output), []),
            (("mark", sample_path(), "--records", "1", "--label", "901", "--output", output), []),
            (("count", sample_path(), "42"), []),
            (("find",), []),
            ((), []),
        ]

    def assert_russian(self, message, args):
        # Latin letters only in names: of the program, its commands and options, the files and
        # other arguments given, standards and character sets.
        names = set(args) | {"luma-cli", "FILE", "ISO", "Windows-1251", "count", "dump", "check",
                             "find", "extract", "mark", "unmark"}
        for word in message.split():
            word = word.strip("«»'\"(),;:.!")
            if re.search(r"[A-Za-z]", word):
                self.assertTrue(word in names or word.startswith("--") or "/" in word,
                                f"{word!r} in {message}")

    def test_messages_in_one_language(self):
        english = catalogue_english()
        for args, core_texts in self.error_runs():
            with self.subTest(args=[a[:20] for a in args]):
                runs = self.runs(*args)
                self.assertEqual(runs["ru"].returncode, runs["en"].returncode)
                self.assertNotEqual(runs["ru"].returncode, 0)
                self.assertEqual(runs["ru"].stdout, runs["en"].stdout)
                for language, result in runs.items():
                    message = result.stderr.decode()
                    self.assertTrue(message.startswith("luma-cli: ") and message.endswith("\n"), message)
                    self.assertNotIn("  ", message)
                    self.assertNotIn("\r", message)
                    for line in message.splitlines():
                        self.assertEqual(line, line.strip(), message)
                    if language == "en":
                        self.assertNotRegex(message, CYRILLIC)
                    else:
                        self.assertRegex(message, r"[А-Яа-яЁё]")
                        self.assert_russian(message, args)
                    for text in core_texts:
                        self.assertIn(one_line(text if language == "ru" else english[text]), message)

    def test_data_is_the_same_in_both(self):
        output = os.path.join(self.folder.name, "out.iso")
        for args in (("count", sample_path(), "--label", "901", "##$aОтобрано"),
                     ("dump", "--json", sample_path()), ("check", sample_path()),
                     ("find", sample_path(), "$a"),
                     ("mark", sample_path(), "--records", "2-4", "--label", "901", "##$aОтобрано",
                      "--output", output)):
            with self.subTest(args=args):
                runs = self.runs(*args)
                self.assertEqual(runs["ru"].returncode, 0)
                self.assertEqual(runs["en"].returncode, 0)
                self.assertEqual(runs["ru"].stderr + runs["en"].stderr, b"")
                self.assertNotEqual(runs["ru"].stdout, b"")
                self.assertEqual(runs["ru"].stdout, runs["en"].stdout)

    def test_language_follows_luma_lang_then_the_locale(self):
        missing = os.path.join(self.folder.name, "absent.iso")
        base = {k: v for k, v in os.environ.items()
                if k not in ("LUMA_LANG", "LC_ALL", "LC_MESSAGES", "LANG")}
        for variables, russian in (({}, True), ({"LANG": "C.UTF-8"}, True),
                                   ({"LANG": "en_US.UTF-8"}, False),
                                   ({"LANG": "en_US.UTF-8", "LC_MESSAGES": "ru_RU.UTF-8"}, True),
                                   ({"LC_MESSAGES": "ru_RU.UTF-8", "LC_ALL": "de_DE@euro"}, False),
                                   ({"LC_ALL": "ru_RU.UTF-8", "LUMA_LANG": "en"}, False),
                                   ({"LC_ALL": "en_GB.UTF-8", "LUMA_LANG": "ru"}, True),
                                   ({"LC_ALL": "ru_RU.UTF-8", "LUMA_LANG": "fr"}, True)):
            with self.subTest(variables=variables):
                result = harness.run([harness.env_path("LUMA_CLI"), "count", missing],
                                     env=dict(base, **variables))
                self.assertEqual(result.returncode, 2)
                self.assertEqual(bool(CYRILLIC.search(result.stderr.decode())), russian)

    def exit_codes(self, *args, language):
        """The exit codes a --help lists, by code."""
        result = harness.run([harness.env_path("LUMA_CLI"), *args, "--help"],
                             env=dict(os.environ, LUMA_LANG=language))
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr, b"")
        text = result.stdout.decode()
        if language == "en":
            self.assertNotIn("Коды", text)
            self.assertIn("Usage:", text)
        else:
            self.assertNotRegex(text, r"Usage|OPTIONS|Options|REQUIRED|Print|Exit")
        footer = text.strip().splitlines()[-1]
        self.assertRegex(footer, r"\A(Exit codes|Коды выхода)")
        # The codes are the footer's first sentence.
        codes = re.findall(r"(?:: |; )(\d+) ([^;]+)", footer.split(". ")[0].rstrip("."))
        return dict(codes)

    def test_each_help_lists_its_own_exit_codes(self):
        for language in ("ru", "en"):
            with self.subTest(language=language):
                general = self.exit_codes(language=language)
                self.assertEqual(sorted(general, key=int), ["0", "2", "3", "64"])
                own = {command: self.exit_codes(command, language=language)
                       for command in ("count", "dump", "check", "find", "extract", "mark", "unmark")}
                for command in ("count", "dump"):
                    self.assertEqual(own[command], general)
                for command in ("check", "find", "extract", "mark", "unmark"):
                    self.assertEqual(sorted(own[command], key=int), ["0", "1", "2", "3", "64"])
                self.assertEqual(own["mark"], own["unmark"])
                meanings = [own[command]["1"] for command in ("check", "find", "extract", "mark")]
                self.assertEqual(len(set(meanings)), 4, meanings)
                self.assertIn("--records -", own["mark"]["1"])
                self.assertNotEqual(own["mark"]["2"], own["count"]["2"])



class KilledMark(harness.TempFolderTest):
    """mark killed at any moment of its run: reading, marking or writing."""

    def test_leaves_nothing_behind_and_the_results_old_or_whole(self):
        source = self.write_file("big.iso", sample_bytes() * 4000)
        temp, results = (os.path.join(self.folder.name, name) for name in ("tmp", "results"))
        os.mkdir(temp)
        os.mkdir(results)
        target = os.path.join(results, "out.iso")
        command = [harness.env_path("LUMA_CLI"), "mark", source, "--records", "1-24000",
                   *Mark.LABEL, "--output", target]
        # The window looks for unsaved work in the temporary folder: the run gets its own.
        environment = dict(os.environ, TMPDIR=temp)
        started = time.monotonic()
        subprocess.run(command, env=environment, check=True, capture_output=True)
        whole_run = time.monotonic() - started
        with open(target, "rb") as file:
            complete = file.read()
        seed = random.randrange(1 << 30)
        moments = random.Random(seed)
        for attempt in range(30):
            with open(target, "wb") as file:
                file.write(b"earlier results")
            process = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(moments.uniform(0, whole_run * 1.1))  # the moment of the kill, not a wait
            process.kill()
            process.wait()
            with self.subTest(attempt=attempt, seed=seed):
                self.assertEqual(os.listdir(temp), [])
                self.assertEqual(os.listdir(results), ["out.iso"])
                with open(target, "rb") as file:
                    self.assertIn(file.read(), (b"earlier results", complete))



def fold(text):
    """Case folding as find documents it: ASCII, Latin-1, Cyrillic with Ё/ё and the pairs above."""
    def folded(c):
        code = ord(c)
        if "A" <= c <= "Z" or 0xC0 <= code <= 0xDE and code != 0xD7 or 0x410 <= code <= 0x42F:
            return chr(code + 0x20)
        if 0x400 <= code <= 0x40F:
            return chr(code + 0x50)
        paired = 0x460 <= code <= 0x481 or 0x48A <= code <= 0x4BF or 0x4D0 <= code <= 0x4FF
        if paired and code % 2 == 0 or 0x4C1 <= code <= 0x4CE and code % 2 == 1:
            return chr(code + 1)
        return chr(0x4CF) if code == 0x4C0 else c
    return "".join(folded(c) for c in text)


class Find(harness.TempFolderTest):
    """`luma-cli find` against the fields `dump --json` shows, and piped into `mark --records -`."""
    needs = ("corpus",)
    FILES = ("pymarc/1251.dat", "marc4j/pride-and-prejudice-fixed.mrc", "pymarc/marc.dat")
    LABEL = ["--label", "909", "##$aНайдено"]

    def expected(self, records, text, tag=None, match_case=False):
        same = (lambda t: t) if match_case else fold
        return [r["record"] for r in records
                if any(same(text) in same(field_text) for field_tag, field_text in r["fields"]
                       if tag is None or field_tag == tag)]

    def find(self, path, *args):
        result = luma_cli("find", path, *args)
        numbers = [int(line) for line in result.stdout.decode().split()]
        return result.returncode, numbers

    def test_finds_what_the_record_view_shows(self):
        for name in self.FILES:
            path = os.path.join(harness.corpus_dir(), name)
            records = luma_records(path)
            middle = records[len(records) // 2]
            tag, text = middle["fields"][len(middle["fields"]) // 2]
            piece = text[len(text) // 3: len(text) // 3 + 6]
            for args, expected in (
                    ([piece.upper()], self.expected(records, piece.upper())),
                    ([piece, "--case"], self.expected(records, piece, match_case=True)),
                    ([piece.upper(), "--case"], self.expected(records, piece.upper(), match_case=True)),
                    ([piece, "--field", tag], self.expected(records, piece, tag=tag)),
                    (["#$a"], self.expected(records, "#$a"))):
                with self.subTest(file=name, args=args):
                    code, found = self.find(path, *args)
                    self.assertEqual(found, expected)
                    self.assertEqual(code, 0 if expected else 1)
            self.assertIn(middle["record"], self.expected(records, piece))

    def test_nothing_found_and_bad_arguments(self):
        self.assertEqual(self.find(sample_path(), "Лермонтов, Михаил Юрьевич"), (1, []))
        self.assertEqual(luma_cli("find", sample_path(), "а", "--field", "24").returncode, 64)
        self.assertEqual(luma_cli("find", sample_path()).returncode, 64)
        self.assertEqual(luma_cli("find", os.path.join(self.folder.name, "none.iso"), "а").returncode, 2)

    def mark_from(self, standard_input, output):
        return subprocess.run([harness.env_path("LUMA_CLI"), "mark", sample_path(), *self.LABEL,
                               "--records", "-", "--output", output],
                              input=standard_input, capture_output=True, timeout=60, check=False)

    def test_found_records_piped_into_mark(self):
        output = os.path.join(self.folder.name, "out.iso")
        found = luma_cli("find", sample_path(), "$a")
        numbers = [int(line) for line in found.stdout.decode().split()]
        self.assertGreater(len(numbers), 1)
        marked = self.mark_from(found.stdout, output)
        self.assertEqual(marked.returncode, 0, marked.stderr.decode())
        self.assertEqual(marked.stdout, f"marked: {len(numbers)}\n".encode())
        self.assertEqual(self.find(output, "##$aНайдено", "--field", "909", "--case"), (0, numbers))
        # The same list with commas, spaces and a range reads the same.
        spread = f"{numbers[0]}, {numbers[1]}-{numbers[1]}\r\n".encode()
        self.assertEqual(self.mark_from(spread, output).returncode, 0)
        self.assertEqual(self.find(output, "Найдено")[1], numbers[:2])

    def test_empty_or_bad_standard_input_writes_nothing(self):
        output = os.path.join(self.folder.name, "out.iso")
        for standard_input, code in ((b"", 1), (b"\n  \n", 1), (b"1\nx\n", 64), (b"0", 64)):
            with self.subTest(standard_input=standard_input):
                result = self.mark_from(standard_input, output)
                self.assertEqual(result.returncode, code)
                self.assertNotEqual(result.stderr, b"")
                self.assertFalse(os.path.exists(output))


if __name__ == "__main__":
    sys.exit(harness.main(sys.modules[__name__]))
