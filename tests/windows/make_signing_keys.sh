#!/bin/sh
# Makes a throw-away code-signing certificate and time-stamping authority for the signature
# tests of the Windows build, into DIR (which must exist):
#   signer.p12   the certificate and its key, protected by $LUMA_CODESIGN_PASSWORD
#   signer.pem   the certificate alone, which the signatures are verified against
#   tsa.pem, tsa.key, tsa.cnf   the authority of timestamp_server.py
#
#   make_signing_keys.sh DIR
set -eu
dir=$1
[ -n "${LUMA_CODESIGN_PASSWORD:-}" ] || { echo "$0: LUMA_CODESIGN_PASSWORD is not set" >&2; exit 2; }
umask 077

openssl req -x509 -newkey rsa:3072 -sha256 -days 30 -nodes -subj "/CN=LUMA test publisher/O=LUMA" \
    -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
    -addext "extendedKeyUsage=codeSigning" \
    -keyout "$dir/signer.key" -out "$dir/signer.pem" 2>/dev/null
# The password goes to openssl through its environment, not its command line.
openssl pkcs12 -export -inkey "$dir/signer.key" -in "$dir/signer.pem" -out "$dir/signer.p12" \
    -passout env:LUMA_CODESIGN_PASSWORD
rm -f "$dir/signer.key"

openssl req -x509 -newkey rsa:2048 -sha256 -days 30 -nodes -subj "/CN=LUMA test time stamps/O=LUMA" \
    -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
    -addext "extendedKeyUsage=critical,timeStamping" \
    -keyout "$dir/tsa.key" -out "$dir/tsa.pem" 2>/dev/null
echo 01 >"$dir/tsa.serial"
cat >"$dir/tsa.cnf" <<CONF
[ tsa ]
default_tsa = test_tsa
[ test_tsa ]
serial = $dir/tsa.serial
signer_cert = $dir/tsa.pem
certs = $dir/tsa.pem
signer_key = $dir/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.0.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
CONF
