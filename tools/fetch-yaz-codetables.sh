#!/bin/sh
# Fetches the character set tables MARC-8 and ISO 5426 are decoded with: the Library of
# Congress code tables (codetables.xml) and yaz's ISO 5426 table, both in Debian 12's yaz source
# package. They are kept in a cache folder outside the work tree, fetched once a machine, and
# the folder's path is printed last. tools/generate_charset_tables.py turns them into C++.
#
# LUMA_CACHE overrides the cache folder ($XDG_CACHE_HOME/luma, else ~/.cache/luma).
set -eu
project=$(cd "$(dirname "$0")/.." && pwd)
debian_version=5.34.0-1
home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cache_root=${LUMA_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/luma}
folder="$cache_root/yaz-$debian_version-codetables"
if [ -f "$folder/.complete" ]; then
    echo "$folder"
    exit 0
fi
"$project/tools/ensure-packages.sh" apt xz-utils gzip
mkdir -p "$cache_root"
work=$(mktemp -d "$cache_root/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
. "$project/tools/debian-source.sh"
download_debian_source "yaz=$debian_version" "$work"
tarball=$(ls "$work"/yaz_*.orig.tar.gz)
mkdir -p "$work/src"
tar -xzf "$tarball" -C "$work/src" --strip-components=1
rm -rf "$folder"
mkdir -p "$folder"
cp "$work/src/src/codetables.xml" "$work/src/src/codetables-iso5426.xml" "$folder/"
touch "$folder/.complete"
echo "$folder"
