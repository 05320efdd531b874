"""luma-cli.exe under Wine prints the same bytes and exits with the same code as the Linux
luma-cli, for the sample, a file with a Cyrillic name and every corpus file.

Run by ctest in the Windows build; paths come from the environment (see CMakeLists.txt).
Exits 77 (skipped) when the Linux luma-cli or Wine is absent.
"""

import os
import shutil
import subprocess
import sys
import tempfile

SKIP_EXIT_CODE = 77
COMMANDS = (["count"], ["count", "--label", "901", "##$aОтобрано"], ["dump", "--json"], ["check"])


def run(command, folder):
    # A bare file name in the file's own folder: no path that differs between the platforms.
    result = subprocess.run(command, cwd=folder, capture_output=True, timeout=120, check=False)
    return result.returncode, result.stdout


def files_to_compare(sample, corpus, scratch):
    files = [sample]
    cyrillic = os.path.join(scratch, "Отобрано 1.iso")
    shutil.copyfile(sample, cyrillic)
    files.append(cyrillic)
    if os.path.isdir(corpus):
        for root, _, names in os.walk(corpus):
            files += [os.path.join(root, n) for n in sorted(names) if n != "README.md"]
    else:
        print(f"corpus folder {corpus} is absent: only the sample is compared")
    return files


def main():
    linux_cli = os.environ.get("LUMA_HOST_CLI", "")
    windows_cli = os.environ["LUMA_CLI_EXE"]
    wine = os.environ.get("LUMA_WINE", "")
    if not os.path.isfile(linux_cli) or not shutil.which(wine or "wine"):
        print("needs the Linux luma-cli (LUMA_HOST_CLI) and wine")
        return SKIP_EXIT_CODE
    differences = 0
    with tempfile.TemporaryDirectory() as scratch:
        for path in files_to_compare(os.environ["LUMA_SAMPLE"], os.environ["LUMA_CORPUS_DIR"], scratch):
            folder, name = os.path.split(path)
            for command in COMMANDS:
                linux = run([linux_cli, command[0], name] + command[1:], folder)
                windows = run([wine, windows_cli, command[0], name] + command[1:], folder)
                if linux != windows:
                    differences += 1
                    print(f"differs: {' '.join(command)} {path}: exit {linux[0]} on Linux, "
                          f"{windows[0]} on Windows; {len(linux[1])} and {len(windows[1])} bytes")
        print(f"compared {len(COMMANDS)} commands on each file; {differences} differ")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
