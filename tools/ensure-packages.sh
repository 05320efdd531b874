#!/bin/sh
# Installs those of the given Debian packages that are not installed yet; does nothing (and
# needs no network) when all are present. Runs apt-get directly as root, through sudo otherwise.
set -eu

missing=""
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "$0: these packages are missing and installing them needs root:$missing" >&2
    exit 1
fi

echo "Installing:$missing"
$as_root apt-get update
# shellcheck disable=SC2086  # one word per package
$as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends $missing
