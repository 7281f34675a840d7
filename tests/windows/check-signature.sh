#!/usr/bin/env bash
# Checks a bundle that scripts/build-windows.sh signed: every program of the bundle (each .exe)
# verifies against the certificate, with SHA-256 digests; its certificate table lies after the
# last section's raw data; a copy with one byte of its code changed no longer verifies; any other
# program file (a DLL) was left alone; the zip holds the signed files; SHA256SUMS is right.
#
# Usage: check-signature.sh BUILD_WINDOWS_FOLDER CERTIFICATE.pem
#        (the certificate is the trust anchor, as the test certificates sign themselves)
# Says each check as it passes; the first that fails ends the script, naming it.
set -euo pipefail

build=$(cd "${1:?usage: check-signature.sh BUILD_WINDOWS_FOLDER CERTIFICATE.pem}" && pwd)
certificate=${2:?usage: check-signature.sh BUILD_WINDOWS_FOLDER CERTIFICATE.pem}
here=$(cd "$(dirname "$0")" && pwd)
"$here/../../scripts/install-deps.sh" osslsigncode openssl python3 cmake
bundle=$build/bundle
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=check.sh
source "$here/check.sh"

verifies() { osslsigncode verify -in "$1" -CAfile "$certificate" >"$work/verify.log" 2>&1; }
sha256_digest() { verifies "$1" && grep -q '^Message digest algorithm *: SHA256' "$work/verify.log"; }
# layout FILE KEY: what pe-layout.py says after KEY ("security", "section .text" ...).
layout() {
    "$here/pe-layout.py" "$1" | awk -v key="$2 " 'index($0, key) == 1 { print substr($0, length(key) + 1) }'
}

# The certificate table is there and lies wholly after the raw data of the sections.
table_after_sections() {
    local offset size
    read -r offset size <<<"$(layout "$1" security)"
    ((size > 0 && offset >= $(layout "$1" raw_data_end) && offset + size <= $(layout "$1" file_size)))
}

# The program verifies, and a copy with the middle byte of .text inverted does not.
tampered_copy_fails() {
    local offset size copy=$work/tampered.exe
    read -r offset size <<<"$(layout "$1" "section .text")"
    [[ -n $offset ]] && verifies "$1" || return 1
    cp "$1" "$copy"
    python3 -c 'import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(int(sys.argv[2])); byte = f.read(1)[0]; f.seek(-1, 1); f.write(bytes([byte ^ 0xFF]))' \
        "$copy" $((offset + size / 2))
    ! cmp -s "$1" "$copy" && ! verifies "$copy"
}

unsigned() { ! verifies "$1"; }
sums_pass() { (cd "$build" && sha256sum --quiet -c SHA256SUMS >&2); }

# SHA256SUMS names the zip and every file of the bundle, nothing else.
sums_cover_bundle() {
    diff <(sed 's/^[0-9a-f]\{64\}  //' "$build/SHA256SUMS" | LC_ALL=C sort) \
        <(cd "$build" && { echo remedor-bundle.zip; find bundle -type f; } | LC_ALL=C sort) >&2
}

zip_holds_bundle() {
    (cd "$work" && cmake -E tar xf "$build/remedor-bundle.zip") && diff -r "$bundle" "$work/bundle" >&2
}

check "$bundle exists" test -d "$bundle"
programs=0
while IFS= read -r -d '' file; do
    name=${file#"$bundle"/}
    case ${name,,} in
    *.exe)
        programs=$((programs + 1))
        check "$name: osslsigncode verify succeeds against $(basename "$certificate")" verifies "$file"
        check "$name: SHA-256 message digest" sha256_digest "$file"
        check "$name: certificate table (data directory entry 4) after the last section's raw data" \
            table_after_sections "$file"
        check "$name: a copy with one byte of .text changed fails verification" tampered_copy_fails "$file"
        ;;
    *.dll) check "$name: not signed by us" unsigned "$file" ;;
    esac
done < <(find "$bundle" -type f -print0 | LC_ALL=C sort -z)
check "bundle: holds at least one program" test "$programs" -gt 0
check "SHA256SUMS: sha256sum -c passes" sums_pass
check "SHA256SUMS: lists remedor-bundle.zip and every file of the bundle" sums_cover_bundle
check "remedor-bundle.zip: holds the bundle as signed, byte for byte" zip_holds_bundle

