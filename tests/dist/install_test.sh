#!/bin/sh
# Installs the build into a scratch DESTDIR and checks what a Linux desktop and Debian see:
# exactly the expected files, the programs' version, the desktop entry, the AppStream metainfo,
# the MARC file type, the icon at each size and the manual pages.
#   install_test.sh BUILD_DIR VERSION APP_ID
set -eu
build=$1 version=$2 id=$3

for tool in desktop-file-validate appstreamcli update-mime-database; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

sizes="16 24 32 48 64 128 256"
expected="usr/bin/luma
usr/bin/luma-cli
usr/share/applications/$id.desktop
usr/share/metainfo/$id.metainfo.xml
usr/share/mime/packages/$id.xml
usr/share/man/man1/luma.1.gz
usr/share/man/man1/luma-cli.1.gz
usr/share/doc/luma/copyright
usr/share/doc/luma/changelog.gz"
for size in $sizes; do
    expected="$expected
usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
installed=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
want=$(printf '%s\n' "$expected" | LC_ALL=C sort)
[ "$installed" = "$want" ] || fail "installed files differ from the expected ones:
$(printf '%s\n' "$want" > "$root/want"; printf '%s\n' "$installed" | diff "$root/want" - || true)"

# One version: the programs, the metainfo's release and the changelog's entry.
[ -x "$usr/bin/luma" ] && [ -x "$usr/bin/luma-cli" ] || fail "the programs are not executable"
[ "$("$usr/bin/luma-cli" --version)" = "luma-cli $version" ] || fail "luma-cli --version"
[ "$("$usr/bin/luma" --version)" = "luma $version" ] || fail "luma --version"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo's release is not $version"
gzip -dc "$usr/share/doc/luma/changelog.gz" | head -n 1 | grep -q "^luma ($version) " ||
    fail "the changelog's first entry is not $version"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -qx "Exec=luma %f" "$usr/share/applications/$id.desktop" || fail "Exec is not 'luma %f'"
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "Icon is not $id"
# Listing a disk image type would offer LUMA for every .iso, and make it their default where
# nothing else opens them.
mimetypes=$(sed -n 's/^MimeType=//p' "$usr/share/applications/$id.desktop")
[ "$mimetypes" = "application/marc;" ] || fail "MimeType is '$mimetypes', not application/marc only"

# --strict: warnings fail too. --no-net: nothing to fetch (no screenshot or homepage URL).
out=$(appstreamcli validate --no-net --strict "$usr/share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
echo "$out"

XDG_DATA_DIRS=$usr/share update-mime-database "$usr/share/mime"
for glob in mrc marc; do
    grep -q "^[0-9]*:application/marc:\*\.$glob$" "$usr/share/mime/globs2" ||
        fail "*.$glob is not application/marc"
done
if grep -q "application/marc:\*\.iso" "$usr/share/mime/globs2"; then
    fail "*.iso became application/marc"
fi

for size in $sizes; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    # The PNG header's width and height, big-endian at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done

for page in luma luma-cli; do
    gzip -t "$usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
    if command -v man >/dev/null; then
        # As lintian reads them: any message from groff is a fault.
        messages=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l -Tutf8 -Z "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$messages" ] || fail "$page.1: $messages"
    fi
done
echo "installed files, desktop entry, metainfo, MIME type, icons and manual pages are in order"
