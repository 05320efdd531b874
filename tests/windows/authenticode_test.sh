#!/bin/sh
# The Authenticode signatures of the Windows build: each file given verifies against the test
# certificate CA_PEM and carries a time stamp of the test authority TSA_PEM; a copy changed after
# signing fails, as does a file checked against another certificate. Exit 77 (skipped) without
# osslsigncode.
#
#   authenticode_test.sh CA_PEM TSA_PEM FILE...
set -u
ca=$1 tsa=$2
shift 2
command -v osslsigncode >/dev/null 2>&1 || { echo "skipped: osslsigncode is not installed"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/luma-authenticode.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

check() {  # check FILE CA: osslsigncode's verdict, its report in $work/report
    osslsigncode verify -CAfile "$2" -TSA-CAfile "$tsa" -in "$1" >"$work/report" 2>&1
}

for file in "$@"; do
    if ! check "$file" "$ca"; then
        cat "$work/report"
        echo "FAIL: $file does not verify against $ca"
        failed=1
    elif ! grep -q 'Timestamp Server Signature verification: ok' "$work/report"; then
        cat "$work/report"
        echo "FAIL: $file has no verified time stamp"
        failed=1
    else
        echo "ok: $file"
    fi
done

# One byte changed in the middle of a signed program.
first=$1
cp "$first" "$work/changed"
middle=$(($(wc -c <"$first") / 2))
byte=$(od -An -tu1 -j "$middle" -N1 "$first" | tr -d ' ')
printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
    dd of="$work/changed" bs=1 seek="$middle" conv=notrunc 2>/dev/null
if cmp -s "$first" "$work/changed"; then
    echo "FAIL: the copy was not changed"
    failed=1
elif check "$work/changed" "$ca"; then
    echo "FAIL: a copy of $first changed after signing still verifies"
    failed=1
else
    echo "ok: a changed copy fails"
fi

# Another certificate than the signer's.
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Somebody else" -days 1 \
    -keyout "$work/other.key" -out "$work/other.pem" 2>/dev/null
if check "$first" "$work/other.pem"; then
    echo "FAIL: $first verifies against a certificate that did not sign it"
    failed=1
else
    echo "ok: another certificate fails"
fi
exit $failed
