"""Kills a marking run with SIGKILL at random moments, many times, and checks what it leaves.

The driver (crash_driver.cpp) opens a copy of a generated record file and runs a fixed sequence
of marks, unmarks, moves and saves, printing a line after each completed command. A reference
run without a kill writes the records the session holds after each command; those states are
checked here against the command sequence on their own terms (record count, marks counted by
replaying the sequence), so that the comparison below does not take the driver's word for them.

After each kill: the source file is unchanged; the results file is the earlier one or exactly
what a completed save wrote, or what the save in flight was writing; the one working copy holds
exactly the records after the last completed command, or after the command in flight (its
append may come before the print), read as a later start reads it: its journal of changed
records over the source. Temporary siblings a kill leaves behind are counted.
"""

import collections
import hashlib
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DRIVER = os.environ.get("LUMA_CRASH_DRIVER", "")
KILLS = int(os.environ.get("LUMA_CRASH_KILLS", "200"))
RECORDS = 3000
COMMANDS = 120
SEED = 20261207
LABEL = b"CRASHMARK"
EARLIER_RESULTS = b"earlier results"
RECORD_END = b"\x1d"
WORKING_COPY = re.compile(r"NEW[A-Za-z0-9]{6}")


def run_driver(source, results, tmp, states=None):
    command = [DRIVER, "run", source, results, str(SEED), str(COMMANDS)]
    if states:
        command.append(states)
    return subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            env=dict(os.environ, TMPDIR=tmp))


def parse_log(text):
    """(number, op, current record) per completed command."""
    steps = []
    for line in text.decode().splitlines():
        number, op, current = line.split()
        steps.append((int(number), op, int(current)))
    return steps


def read(path):
    with open(path, "rb") as file:
        return file.read()


def fnv1a(data):
    value = 0xcbf29ce484222325
    for byte in data:
        value = ((value ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return value


def journal_over(journal, source_bytes):
    """The source's records with the journal's changes put in, as a later start reads them; an
    entry cut short, and what follows it, does not count. None for what is no journal."""
    header = b"LUMA change journal 1\n"
    if not journal.startswith(header):
        return None
    records = [r + RECORD_END for r in source_bytes.split(RECORD_END)[:-1]]
    at = len(header)
    while True:
        line_end = journal.find(b"\n", at)
        parts = journal[at:line_end].split() if line_end >= 0 else []
        if len(parts) != 4 or parts[0] != b"record":
            break
        index, length, digest = int(parts[1]), int(parts[2]), int(parts[3], 16)
        data = journal[line_end + 1:line_end + 1 + length]
        if len(data) != length or journal[line_end + 1 + length:line_end + 2 + length] != b"\n" or fnv1a(data) != digest:
            break
        records[index] = data
        at = line_end + 2 + length
    return b"".join(records)


def expected_marks(steps):
    """Marks after each command, replayed from the sequence: a mark adds the label to the record
    it was on when the record has none, an unmark removes it."""
    marked = set()
    counts = []
    current = 0
    for _, op, after in steps:
        if op == "mark":
            marked.add(current)
        elif op == "unmark":
            marked.discard(current)
        counts.append(len(marked))
        current = after
    return counts


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def reference_run(folder, source):
    """The states after each command and the run's duration, checked against the sequence."""
    tmp = os.path.join(folder, "ref-tmp")
    states_dir = os.path.join(folder, "states")
    os.mkdir(tmp)
    os.mkdir(states_dir)
    process = run_driver(source, os.path.join(folder, "ref-results.iso"), tmp, states_dir)
    out, err = process.communicate(timeout=120)
    check(process.returncode == 0, f"reference run failed: {err.decode()}")
    steps = parse_log(out)
    check([s[0] for s in steps] == list(range(COMMANDS + 1)), "reference run printed every command")
    states = [read(os.path.join(states_dir, f"{n}.iso")) for n in range(COMMANDS + 1)]
    check(states[0] == read(source), "the working copy at open holds the file as it is")
    for number, marks in enumerate(expected_marks(steps)):
        check(states[number].count(RECORD_END) == RECORDS, f"state {number} holds every record")
        check(states[number].count(LABEL) == marks, f"state {number} holds {marks} marks")
    ops = [s[1] for s in steps]
    # The kills hit runs that write no states: time a few of those.
    durations = []
    for _ in range(3):
        started = time.monotonic()
        process = run_driver(source, os.path.join(folder, "timed-results.iso"), tmp)
        process.communicate(timeout=120)
        durations.append(time.monotonic() - started)
    duration = sorted(durations)[1]
    check(ops.count("save") >= 3 and ops.count("unmark") >= 3, "the sequence saves and unmarks")
    changes = sum(states[n] != states[n - 1] for n in range(1, len(states)))
    check(changes >= COMMANDS // 5, f"the sequence changes the records often ({changes} changes)")
    return ops, states, duration


def last_saved(ops, states, completed):
    """What the results file holds after command `completed`: None when nothing was saved."""
    saves = [n for n in range(completed + 1) if ops[n] == "save"]
    return states[saves[-1]] if saves else None


def check_kill(folder, source, source_hash, ops, states, delay, stats):
    tmp = os.path.join(folder, "tmp")
    results = os.path.join(folder, "results.iso")
    os.mkdir(tmp)
    with open(results, "wb") as file:
        file.write(EARLIER_RESULTS)
    process = run_driver(source, results, tmp)
    time.sleep(delay)
    process.send_signal(signal.SIGKILL)
    out, _ = process.communicate(timeout=60)
    completed = len(parse_log(out)) - 1  # -1: not even the open completed
    in_flight = completed + 1 if completed < COMMANDS else None
    stats["in flight: " + (ops[in_flight] if in_flight is not None else "none (run over)")] += 1
    run_over = in_flight is None

    check(hashlib.sha256(read(source)).hexdigest() == source_hash, "the source file is unchanged")

    saved = last_saved(ops, states, completed) if completed >= 0 else None
    if saved is None:
        saved = EARLIER_RESULTS
    allowed = [saved]
    if in_flight is not None and ops[in_flight] == "save":
        allowed.append(states[in_flight])
    got = read(results)
    check(got in allowed, f"results file after command {completed} is a whole saved version")
    if got != saved:
        stats["results: the save in flight was complete"] += 1

    stats["temporary siblings of the results file left by the kill"] += sum(
        name.startswith(".results.iso.") for name in os.listdir(folder))
    names = os.listdir(tmp)
    copies = [n for n in names if WORKING_COPY.fullmatch(n)]
    leftovers = [n for n in names if n.startswith(".")]
    stats["temporary siblings in the temporary folder left by the kill"] += len(leftovers)
    if completed < 0:
        check(len(copies) <= 1, "at most one working copy while opening")
        if copies:
            journal = read(os.path.join(tmp, copies[0]))
            got = b"" if journal == b"" else journal_over(journal, read(source))
            check(got in (b"", states[0]), "a working copy in the making is empty or whole")
            kind = "empty" if got == b"" else "whole"
            stats[f"killed while opening: {kind} working copy"] += 1
        return False
    check(len(copies) == 1, f"one working copy, found {names}")
    got = journal_over(read(os.path.join(tmp, copies[0])), read(source))
    if got == states[completed]:
        stats["working copy: last completed command"] += 1
    else:
        check(in_flight is not None and got == states[in_flight],
              f"working copy after command {completed} ({ops[completed]}) holds a completed state")
        stats["working copy: command in flight, appended before the print"] += 1
    return run_over


def main():
    if not os.path.isfile(DRIVER):
        print(f"LUMA_CRASH_DRIVER is not set to the driver: '{DRIVER}'", file=sys.stderr)
        return 2
    random.seed(SEED)
    folder = tempfile.mkdtemp(prefix="luma-crash-")
    try:
        source = os.path.join(folder, "catalogue.iso")
        subprocess.run([DRIVER, "make", source, str(RECORDS)], check=True)
        source_hash = hashlib.sha256(read(source)).hexdigest()
        ops, states, duration = reference_run(folder, source)
        stats = collections.Counter()
        for kill in range(KILLS):
            run_folder = os.path.join(folder, f"kill-{kill}")
            os.mkdir(run_folder)
            delay = random.uniform(0, duration)
            try:
                if check_kill(run_folder, source, source_hash, ops, states, delay, stats):
                    duration *= 0.9  # runs got faster than timed: aim the kills earlier
            except Failure as failure:
                print(f"kill {kill} after {delay:.3f} s: {failure}", file=sys.stderr)
                return 1
            shutil.rmtree(run_folder)
        print(f"{KILLS} kills of a {COMMANDS}-command run on {RECORDS} records "
              f"({len(states[0])} bytes), {duration:.3f} s a run")
        for name, count in sorted(stats.items()):
            print(f"  {name}: {count}")
        return 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
