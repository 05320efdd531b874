#!/bin/sh
# Builds LUMA on Debian 12 and opens the bundled sample file.
set -eu
cd "$(dirname "$0")/.."

tools/ensure-packages.sh cmake ninja-build g++ qt6-base-dev qt6-translations-l10n qt6-l10n-tools libssl-dev \
    libutf8proc-dev pkgconf libcli11-dev nlohmann-json3-dev

cmake -S . -B build/sample -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMA_BUILD_TESTS=OFF
cmake --build build/sample -j "$(nproc)"

build/sample/src/cli/luma-cli dump samples/sample.iso
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/sample/src/app/luma samples/sample.iso
fi
echo "No display: the LUMA window was not started (the records are printed above)."
