#!/bin/sh
# Builds the core, luma-cli.exe and the core tests for Windows with MinGW-w64 and runs them with
# ctest under Wine, in a Wine prefix of their own that is removed afterwards; then the registry
# and Win32 tests once more in code page 1251, as on a Russian Windows. Given a static Qt for
# Windows (tools/build-qt-windows.sh), also luma.exe, its two installers (NSIS and MSI) and the
# widget tests, and the real-window tests of the installed program under Wine and Xvfb.
# Everything is signed with a throw-away certificate, and the signatures are checked.
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

scratch=$(mktemp -d "${TMPDIR:-/tmp}/luma-wine.XXXXXX")
timestamp_pid=""
cleanup() {
    [ -n "$timestamp_pid" ] && kill "$timestamp_pid" 2>/dev/null
    export WINEPREFIX="$scratch/prefix"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Everything Windows gets is signed, as a publisher signs a release, with a throw-away
# certificate made here and time stamps from a local time-stamping authority; the tests check
# each signature against that certificate. The password reaches the signing tool only through
# the environment and a file of the build user's (tools/authenticode-sign).
mkdir -p "$scratch/keys"
LUMA_CODESIGN_PASSWORD=$(openssl rand -hex 24)
export LUMA_CODESIGN_PASSWORD
sh tests/windows/make_signing_keys.sh "$scratch/keys"
python3 tests/windows/timestamp_server.py "$scratch/keys" >"$scratch/keys/port" 2>"$scratch/keys/tsa.log" &
timestamp_pid=$!
. tests/wait_for.sh
wait_for "[ -s '$scratch/keys/port' ]" 10 || { echo "$0: the time-stamping server did not start" >&2; exit 1; }

# Release: the installer under test is the one that ships, but for its update key: the test
# key, whose private half signs the newer installer the update check is to install.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DLUMA_WERROR=ON -DLUMA_HOST_CLI="$host_cli" -DLUMA_QT_WINDOWS="$qt_prefix" \
    -DLUMA_UPDATE_KEY="$PWD/tests/signature/keys/test-update-key.pub.pem" \
    -DLUMA_CODESIGN_PKCS12="$scratch/keys/signer.p12" \
    -DLUMA_CODESIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat "$scratch/keys/port")" \
    -DLUMA_CODESIGN_TEST_CA="$scratch/keys/signer.pem" -DLUMA_CODESIGN_TEST_TSA="$scratch/keys/tsa.pem"
cmake --build "$build" -j "$(nproc)"

export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
