#!/usr/bin/env bash
# Makes throwaway, self-signed code-signing certificates for the signing tests, so that no key
# is ever kept in the repository:
#
#   OUTDIR/remedor-test.p12, .pem   valid from yesterday for two days
#   OUTDIR/expired.p12, .pem        valid for one day in 2020
#   OUTDIR/password.txt             the password of both PKCS#12 files (random)
#
# Usage: make-test-certificate.sh OUTDIR      (needs openssl; OUTDIR is made when missing)
set -euo pipefail
umask 077 # the keys and the password are nobody else's

out=${1:?usage: make-test-certificate.sh OUTDIR}
"$(dirname "$0")/../../scripts/install-deps.sh" openssl
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# `openssl ca` is the one command of OpenSSL 3.0 that takes both validity dates, which the
# expired certificate needs.
cat >"$work/ca.cnf" <<EOF
[ca]
default_ca = throwaway
[throwaway]
database = $work/index.txt
new_certs_dir = $work
serial = $work/serial
default_md = sha256
policy = any_name
x509_extensions = code_signing
[any_name]
commonName = supplied
[code_signing]
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
EOF
openssl rand -hex 16 >"$out/password.txt"

# make_certificate NAME START END (dates as YYYYMMDDHHMMSSZ)
make_certificate() {
    local name=$1
    : >"$work/index.txt"
    openssl req -new -newkey rsa:2048 -nodes -keyout "$work/$name.key" \
        -subj "/CN=Remedor throwaway test signer ($name)" -out "$work/$name.csr" 2>/dev/null
    openssl ca -batch -notext -config "$work/ca.cnf" -selfsign -rand_serial \
        -keyfile "$work/$name.key" -in "$work/$name.csr" \
        -startdate "$2" -enddate "$3" -out "$out/$name.pem" 2>"$work/ca.log" || {
        cat "$work/ca.log" >&2
        exit 1
    }
    openssl pkcs12 -export -name "$name" -inkey "$work/$name.key" -in "$out/$name.pem" \
        -passout "file:$out/password.txt" -out "$out/$name.p12"
}

make_certificate remedor-test "$(date -u -d yesterday +%Y%m%d%H%M%SZ)" \
    "$(date -u -d tomorrow +%Y%m%d%H%M%SZ)"
make_certificate expired 20200101000000Z 20200102000000Z
echo "make-test-certificate: $out/remedor-test.p12 and $out/expired.p12, password in $out/password.txt"
