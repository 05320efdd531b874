#!/bin/sh
# Builds the core, luma-cli.exe and the core tests for Windows with MinGW-w64 and runs them with
# ctest under Wine, in a Wine prefix of their own that is removed afterwards; then the registry
# and Win32 tests once more in code page 1251, as on a Russian Windows. Given a static Qt for
# Windows (tools/build-qt-windows.sh), also luma.exe, its installer and the widget tests, and
# the real-window test of the installed program under Wine and Xvfb.
#
#   tools/run-windows-tests.sh [LINUX_LUMA_CLI [QT_PREFIX]]
#
# With the path of a Linux luma-cli, luma-cli.exe's output and luma.exe's results files are
# compared with it.
set -eu
cd "$(dirname "$0")/.."
host_cli=${1:-}
qt_prefix=${2:-}
build=build/windows

# Release: the installer under test is the one that ships, but for its update key: the test
# key, whose private half signs the newer installer the update check is to install.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DLUMA_WERROR=ON -DLUMA_HOST_CLI="$host_cli" -DLUMA_QT_WINDOWS="$qt_prefix" \
    -DLUMA_UPDATE_KEY="$PWD/tests/signature/keys/test-update-key.pub.pem"
cmake --build "$build" -j "$(nproc)"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/luma-wine.XXXXXX")
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A running server and a booted prefix whose background processes hold no pipe of ctest's:
# otherwise ctest waits seconds after every test, or hangs. No display: windows go to Wine's
# null driver, which the desktop process takes up only when it starts, hence the second boot.
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot -i </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
wineserver -k
wineserver -w
wineserver -p
wineboot </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# Wine takes the ANSI code page from the locale. Debian generates no ru_RU locale by itself:
# build one in the scratch folder rather than change the system's locales.
mkdir -p "$scratch/locale"
localedef -i ru_RU -f UTF-8 "$scratch/locale/ru_RU.UTF-8"
LOCPATH="$scratch/locale" LC_ALL=ru_RU.UTF-8 \
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -R 'Registry|Win32'
