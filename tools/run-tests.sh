#!/bin/sh
# Installs what the test suite needs on Debian 12, builds with warnings as errors and runs
# every test: natively, again under the sanitizers, then the Windows build under Wine: the core,
# luma-cli.exe, and luma.exe with its installer against a static Qt for Windows, which is built
# once into a cache folder outside the work tree (about 35 minutes on two cores) and reused.
# CI runs this on a clean clone, as root, with ../shared beside the project.
set -eu
cd "$(dirname "$0")/.."

tools/ensure-packages.sh cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools \
    qt6-translations-l10n qt6-l10n-tools libssl-dev openssl libutf8proc-dev pkgconf libgtest-dev libcli11-dev nlohmann-json3-dev yaz \
    libmarc-record-perl desktop-file-utils appstream shared-mime-info \
    python3 xvfb xauth xdotool imagemagick strace g++-mingw-w64-x86-64-posix wine wine64 locales \
    nsis wixl osslsigncode xclip

# The published code tables of MARC-8 and ISO 5426, fetched once a machine like the Qt source:
# the check of the tables generated from them is skipped when they cannot be had.
codetables=$(tools/fetch-yaz-codetables.sh | tail -n 1) || codetables=
cmake -S . -B build/tests -G Ninja -DLUMA_WERROR=ON -DLUMA_CODETABLES_DIR="$codetables"
cmake --build build/tests -j "$(nproc)"
ctest --test-dir build/tests --output-on-failure -j "$(nproc)"

# The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer: any report fails it.
# This build takes CMake's default generator (Unix Makefiles), which is what most people type,
# so that it keeps building; the others use Ninja. A folder left by a Ninja build starts anew.
if grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' build/sanitize/CMakeCache.txt 2>/dev/null; then
    rm -rf build/sanitize
fi
cmake -S . -B build/sanitize -DLUMA_WERROR=ON -DLUMA_SANITIZE=ON
cmake --build build/sanitize -j "$(nproc)"
ctest --test-dir build/sanitize --output-on-failure -j "$(nproc)"

qt_windows=$(tools/build-qt-windows.sh | tail -n 1)
tools/run-windows-tests.sh "$PWD/build/tests/src/cli/luma-cli" "$qt_windows"
