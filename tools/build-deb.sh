#!/bin/sh
# Builds the Debian package of LUMA: installs what the build needs on Debian 12, makes a
# Release build with Debian's hardening flags in build/deb (or the folder given), runs cpack
# and checks the package with lintian (any error fails). The last line printed is the path of
# luma_<version>_amd64.deb.
#   tools/build-deb.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/deb}

tools/ensure-packages.sh cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libssl-dev \
    qt6-l10n-tools libutf8proc-dev pkgconf libcli11-dev nlohmann-json3-dev dpkg-dev file lintian >&2

# Debian's compiler and linker flags, all hardening on: fortified functions, stack protector,
# full RELRO with immediate binding. Passed as cache values so that a rerun applies them.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMA_WERROR=ON \
    -DLUMA_BUILD_TESTS=OFF -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >&2
cmake --build "$build" -j "${LUMA_JOBS:-2}" >&2
(cd "$build" && cpack -G DEB >&2)

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$PWD/$build/luma_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "$0: cpack made no $deb" >&2; exit 1; }
lintian --fail-on error "$deb" >&2
echo "$deb"
