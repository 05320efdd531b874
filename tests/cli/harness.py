"""Runs one test class of a test script as one ctest test.

Paths come from the environment ctest sets (see CMakeLists.txt). A class lists what it needs
from outside the build in `needs`; when that is absent the script prints why and exits 77,
which ctest reports as skipped.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SKIP_EXIT_CODE = 77


def env_path(name):
    return os.environ.get(name, "")


def corpus_dir():
    return env_path("LUMA_CORPUS_DIR")


def yaz_marcdump():
    return env_path("YAZ_MARCDUMP")


def _missing(need):
    if need == "corpus" and not os.path.isdir(corpus_dir()):
        return f"the corpus folder '{corpus_dir()}' is absent"
    if need == "yaz" and not shutil.which(yaz_marcdump()):
        return "yaz-marcdump is not installed (Debian package yaz)"
    return None


def run(command, timeout=120, env=None):
    """Runs a command, in `env` when given; stdout and stderr as bytes."""
    return subprocess.run(command, capture_output=True, timeout=timeout, check=False, env=env)


def luma_cli(*args):
    return run([env_path("LUMA_CLI"), *args])


def write_changed(source, target, tag, text):
    """Writes `source` to `target` as LUMA writes files, the 1st, 3rd, ... record gaining the
    field TAG TEXT (see write_changed.cpp)."""
    return run([env_path("LUMA_WRITE_CHANGED"), source, target, tag, text])


class TempFolderTest(unittest.TestCase):
    """A test with a fresh temporary folder, removed afterwards."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def write_file(self, name, data):
        path = os.path.join(self.folder.name, name)
        with open(path, "wb") as file:
            file.write(data)
        return path


def main(module):
    """Runs the class named by the first argument of the script."""
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} TEST_CLASS", file=sys.stderr)
        return 2
    test_class = getattr(module, sys.argv[1])
    for need in getattr(test_class, "needs", ()):
        reason = _missing(need)
        if reason:
            print(f"SKIPPED: {reason}")
            return SKIP_EXIT_CODE
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(test_class)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1
