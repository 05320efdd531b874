#!/bin/sh
# Builds the static Qt that luma.exe links against: Debian 12's own qt6-base source, compiled
# with MinGW-w64 for 64-bit Windows, with only what the program needs (Core, Gui, Widgets,
# Network, Test and the Windows platform plugin). The result is kept in a cache folder outside
# the work tree, named by the Qt version and the options, so that it is built once per machine;
# a later run finds it and only prints its path.
#
#   tools/build-qt-windows.sh            # last line of output: the Qt prefix
#
# LUMA_QT_CACHE overrides the cache folder ($XDG_CACHE_HOME/luma, else ~/.cache/luma).
set -eu
project=$(cd "$(dirname "$0")/.." && pwd)

qt_version=6.4.2
# Debian's source package of this Qt, the one whose checksums the signed archive index vouches for.
debian_version=6.4.2+dfsg-10

# Everything the program does not use is left out: the build takes half the time, and nothing
# that needs libraries Windows does not have (D-Bus, OpenSSL; Schannel serves TLS) is linked.
qt_options="
-DBUILD_SHARED_LIBS=OFF
-DCMAKE_BUILD_TYPE=Release
-DQT_BUILD_EXAMPLES=OFF
-DQT_BUILD_TESTS=OFF
-DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
-DQT_QMAKE_TARGET_MKSPEC=win32-g++
-DFEATURE_sql=OFF
-DINPUT_opengl=no
-DFEATURE_opengl=OFF
-DFEATURE_dynamicgl=OFF
-DFEATURE_dbus=OFF
-DFEATURE_openssl=OFF
-DFEATURE_printsupport=OFF
-DFEATURE_xml=OFF
-DFEATURE_vulkan=OFF
-DFEATURE_tabletevent=OFF
-DFEATURE_concurrent=OFF
-DFEATURE_icu=OFF
-DFEATURE_jpeg=OFF
-DFEATURE_gif=OFF
"
options_id=$(printf '%s' "$qt_options" | sha256sum | cut -c1-10)
home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cache_root=${LUMA_QT_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/luma}
prefix="$cache_root/qt-$qt_version-mingw-w64-x86_64-static-$options_id"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

"$project/tools/ensure-packages.sh" cmake ninja-build g++-mingw-w64-x86-64-posix \
    qt6-base-dev qt6-base-dev-tools xz-utils apt
echo "Building Qt $qt_version for Windows into $prefix (about 35 minutes on two cores)" >&2

mkdir -p "$cache_root"
work=$(mktemp -d "$cache_root/build.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

. "$project/tools/debian-source.sh"
download_debian_source "qt6-base=$debian_version" "$work"
tarball=$(ls "$work"/qt6-base_*.orig.tar.xz)
mkdir "$work/src"
tar -xJf "$tarball" -C "$work/src" --strip-components=1

# shellcheck disable=SC2086  # one word per option
cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    $qt_options >&2
cmake --build "$work/build" -j "$(nproc)" >&2
rm -rf "$prefix"
cmake --install "$work/build" >&2
printf '%s\n' "$qt_options" >"$prefix/.complete"
echo "$prefix"
