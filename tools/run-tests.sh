#!/bin/sh
# Installs what the test suite needs on Debian 12, builds with warnings as errors and runs
# every test: natively, again under the sanitizers, then the core and luma-cli.exe built for
# Windows under Wine.
# CI runs this on a clean clone, as root, with ../shared beside the project.
set -eu
cd "$(dirname "$0")/.."

tools/ensure-packages.sh cmake ninja-build g++ qt6-base-dev libgtest-dev libcli11-dev \
    nlohmann-json3-dev yaz libmarc-record-perl python3 xvfb xauth xdotool imagemagick strace \
    g++-mingw-w64-x86-64-posix wine wine64 locales

cmake -S . -B build/tests -G Ninja -DLUMA_WERROR=ON
cmake --build build/tests -j "$(nproc)"
ctest --test-dir build/tests --output-on-failure -j "$(nproc)"

# The same suite again with AddressSanitizer and UndefinedBehaviorSanitizer: any report fails it.
cmake -S . -B build/sanitize -G Ninja -DLUMA_WERROR=ON -DLUMA_SANITIZE=ON
cmake --build build/sanitize -j "$(nproc)"
ctest --test-dir build/sanitize --output-on-failure -j "$(nproc)"

tools/run-windows-tests.sh "$PWD/build/tests/src/cli/luma-cli"
