"""luma-cli mark and unmark with each write step failing in turn, under LD_PRELOAD.

An undisturbed run counts the system calls of the whole program (fault_preload.cpp logs them);
then each one fails with a full disk, an I/O error, a permission or read-only error, or writes
only half its bytes. Each time luma-cli either succeeds with the same output as the undisturbed
run, or exits 2 with one line saying why and leaves the earlier output file as it was; the
temporary folder is left empty either way and nothing but the output lies beside it.
"""

import errno
import os
import shutil
import subprocess
import sys
import tempfile

CLI = os.environ.get("LUMA_CLI", "")
PRELOAD = os.environ.get("LUMA_FAULT_PRELOAD", "")
SAMPLE = os.environ.get("LUMA_SAMPLE", "")
LABEL = ["--label", "901", "##$aОтобрано"]
COMMANDS = {
    "mark": ["mark", "--records", "2,5,6"],
    "unmark": ["unmark", "--records", "1,4"],
}
ERRORS = [errno.ENOSPC, errno.EIO, errno.EACCES, errno.EROFS]
EARLIER = b"earlier results"
# A failure of these loses data; the note beside the working copy is a help it can do without.
DATA_STEPS = {"create-temp", "write", "flush", "close", "rename"}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(folder, args, at=0, error=0, short=False):
    """Runs luma-cli in a fresh folder with an earlier output; the result and the calls seen."""
    if os.path.exists(folder):
        shutil.rmtree(folder)
    tmp = os.path.join(folder, "tmp")
    out_dir = os.path.join(folder, "out")
    os.makedirs(tmp)
    os.makedirs(out_dir)
    output = os.path.join(out_dir, "results.iso")
    with open(output, "wb") as file:
        file.write(EARLIER)
    log = os.path.join(folder, "calls.log")
    # In English: the reasons are looked for in the system's own words (os.strerror).
    env = dict(os.environ, TMPDIR=tmp, LD_PRELOAD=PRELOAD, LUMA_FAULT_AT=str(at),
               LUMA_FAULT_ERRNO=str(error), LUMA_FAULT_SHORT="1" if short else "0",
               LUMA_FAULT_LOG=log, LUMA_LANG="en")
    # A sanitizer build's runtime would insist on coming before the preloaded library.
    env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0").lstrip(":")
    result = subprocess.run([CLI, *args, *LABEL, "--output", output, SAMPLE], capture_output=True,
                            env=env, timeout=60, check=False)
    with open(log, encoding="utf-8") as file:
        calls = [line.split(" ", 3) for line in file.read().splitlines()]
    with open(output, "rb") as file:
        written = file.read()
    leftovers = os.listdir(tmp) + [n for n in os.listdir(out_dir) if n != "results.iso"]
    return result, calls, written, leftovers


def essential(call):
    kind, carries, _, path = call
    return kind in DATA_STEPS and carries == "1" and ".luma" not in os.path.basename(path)


def check_command(folder, name, args):
    result, calls, expected, leftovers = run(folder, args)
    check(result.returncode == 0, f"{name} undisturbed: {result.stderr.decode()}")
    check(expected != EARLIER and not leftovers,
          f"{name} undisturbed writes its output and cleans up")
    kinds = {call[0] for call in calls if essential(call)}
    check(kinds >= {"create-temp", "write", "flush", "close", "rename"},
          f"{name}: the write steps are seen, got {sorted(kinds)}")
    runs = 0
    for step, call in enumerate(calls, start=1):
        for error in ERRORS + [None]:
            fault = os.strerror(error) if error else "short write"
            what = f"{name}, step {step} ({' '.join(call[2:])}), {fault}"
            got, _, written, leftovers = run(folder, args, step, error or 0, short=error is None)
            runs += 1
            check(not leftovers, f"{what}: left behind {leftovers}")
            if got.returncode == 0:
                check(written == expected, f"{what}: a success writes the whole output")
                check(not (error and essential(call)),
                      f"{what}: a lost write step reported as success")
                continue
            check(error is not None, f"{what}: a short write failed: {got.stderr.decode()}")
            check(got.returncode == 2, f"{what}: exit code {got.returncode}")
            check(written == EARLIER, f"{what}: the earlier output is kept")
            check(os.strerror(error) in got.stderr.decode(),
                  f"{what}: says why: {got.stderr.decode()}")
    return len(calls), runs


def main():
    for path, name in ((CLI, "LUMA_CLI"), (PRELOAD, "LUMA_FAULT_PRELOAD"), (SAMPLE, "LUMA_SAMPLE")):
        if not os.path.isfile(path):
            print(f"{name} does not name a file: '{path}'", file=sys.stderr)
            return 2
    folder = tempfile.mkdtemp(prefix="luma-cli-faults-")
    try:
        for name, args in COMMANDS.items():
            steps, runs = check_command(os.path.join(folder, "run"), name, args)
            print(f"{name}: {steps} system calls, {runs} disturbed runs")
        return 0
    except Failure as failure:
        print(failure, file=sys.stderr)
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
