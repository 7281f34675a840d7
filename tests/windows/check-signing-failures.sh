#!/usr/bin/env bash
# Runs scripts/build-windows.sh (an up-to-date build takes seconds) with each way of asking for
# signing that must fail, and once without a certificate:
#
#   - no certificate: the build succeeds, says once that the bundle is unsigned, and the bundle
#     holds the programs as built;
#   - a wrong password, a missing password file, a missing certificate file, a folder in its
#     place, a damaged file, an expired certificate, and a time-stamp server that refuses: each
#     fails with its message, and leaves no bundle (the unsigned one staged before each case
#     included), no zip and no SHA256SUMS;
#   - last, the good certificate: the build succeeds, signed, with the same files as unsigned.
#     So the folder is left with a signed bundle, for tests/windows/check-signature.sh.
#
# Usage: check-signing-failures.sh CERTIFICATE_FOLDER      (made by make-test-certificate.sh)
# Says each check as it passes; the first that fails ends the script, naming it.
set -euo pipefail

certificates=$(cd "${1:?usage: check-signing-failures.sh CERTIFICATE_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
"$repo/scripts/install-deps.sh" osslsigncode openssl python3
build=$repo/build-windows
bundle=$build/bundle
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=check.sh
source "$here/check.sh"

# build NAME [VARIABLE=VALUE...]: runs build-windows.sh with only the signing variables given;
# its output goes to $work/NAME.log and its exit status to $status.
build() {
    local name=$1
    shift
    status=0
    env -u REMEDOR_SIGN_PKCS12 -u REMEDOR_SIGN_PASSWORD_FILE -u REMEDOR_SIGN_TIMESTAMP_URL "$@" \
        "$repo/scripts/build-windows.sh" >"$work/$name.log" 2>&1 || status=$?
}

programs() { find "$bundle" -type f -iname '*.exe' -print0; }
signed() { osslsigncode verify -in "$1" -CAfile "$certificates/remedor-test.pem" >/dev/null 2>&1; }
has_certificate_table() { [[ $("$here/pe-layout.py" "$1" | sed -n 's/^security [0-9]* //p') != 0 ]]; }
# said NAME MESSAGE: the output holds MESSAGE (an extended regular expression; .* spans lines).
said() { grep -zqiE -- "$2" "$work/$1.log"; }
quiet_about_unsigned() { ! grep -qi unsigned "$work/$1.log"; }
sums_pass() { (cd "$build" && sha256sum --quiet -c SHA256SUMS); }
says_unsigned_once() { [[ $(grep -ci unsigned "$work/$1.log") == 1 ]]; }

# No bundle at all, or one whose every program is signed.
no_unsigned_program() {
    [[ -d $bundle ]] || return 0
    local program
    while IFS= read -r -d '' program; do
        signed "$program" || return 1
    done < <(programs)
}

# Each program of the bundle is the one of that name in the build folder, with no certificate table.
as_built_and_unsigned() {
    local program count=0
    while IFS= read -r -d '' program; do
        cmp -s "$program" "$build/${program#"$bundle"/}" && ! has_certificate_table "$program" || return 1
        count=$((count + 1))
    done < <(programs)
    ((count > 0))
}

# Every file of the bundle but its programs, with its sum: what signing must not change.
others() {
    (cd "$bundle" && find . -type f ! -iname '*.exe' -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
}
file_list() { (cd "$bundle" && find . -type f | LC_ALL=C sort); }

# --- no certificate -------------------------------------------------------------------------
build unsigned
check "no certificate: build-windows.sh succeeds" test $status = 0
check "no certificate: says once that the bundle is unsigned" says_unsigned_once unsigned
check "no certificate: the bundle's programs are those built, with no certificate table" as_built_and_unsigned
check "no certificate: SHA256SUMS passes" sums_pass
unsigned_files=$(file_list)
unsigned_others=$(others)

# --- failures -------------------------------------------------------------------------------
printf 'not the password\n' >"$work/wrong-password.txt"
head -c 2048 /dev/urandom >"$work/damaged.p12"
mkdir "$work/folder.p12"
good=(REMEDOR_SIGN_PKCS12="$certificates/remedor-test.p12"
      REMEDOR_SIGN_PASSWORD_FILE="$certificates/password.txt")

# failure NAME MESSAGE VARIABLE=VALUE...: from an unsigned bundle, build-windows.sh fails with
# MESSAGE (an extended regular expression) and removes the bundle, the zip and SHA256SUMS.
failure() {
    local name=$1 message=$2
    shift 2
    build "$name-setup"
    [[ $status == 0 && -f $bundle/remedor.exe ]] || {
        echo "FAILED: $name: could not stage an unsigned bundle first (see the output below)" >&2
        cat "$work/$name-setup.log"
        exit 1
    }
    build "$name" "$@"
    if ((status == 0)) || ! said "$name" "$message"; then
        sed 's/^/    /' "$work/$name.log"
    fi
    check "$name: build-windows.sh fails" test $status != 0
    check "$name: says \"${message//.\*/…}\"" said "$name" "$message"
    check "$name: no unsigned program left in a bundle" no_unsigned_program
    check "$name: no zip and no SHA256SUMS left" \
        test ! -e "$build/remedor-bundle.zip" -a ! -e "$build/SHA256SUMS"
    check "$name: no temporary signing folder left" test -z "$(find "$build" -maxdepth 1 -name 'signing.*')"
}

failure "wrong password" "cannot open .* with the password .*wrong password" \
    "${good[0]}" REMEDOR_SIGN_PASSWORD_FILE="$work/wrong-password.txt"
failure "no password file" "REMEDOR_SIGN_PASSWORD_FILE must name" "${good[0]}"
failure "missing password file" "cannot read the password file" \
    "${good[0]}" REMEDOR_SIGN_PASSWORD_FILE="$work/missing.txt"
failure "missing certificate file" "cannot read the certificate file" \
    REMEDOR_SIGN_PKCS12="$work/missing.p12" "${good[1]}"
failure "folder for a certificate file" "cannot read the certificate file" \
    REMEDOR_SIGN_PKCS12="$work/folder.p12" "${good[1]}"
if (($(id -u) != 0)); then # root reads any file whatever its mode
    cp "$certificates/remedor-test.p12" "$work/unreadable.p12"
    chmod 000 "$work/unreadable.p12"
    failure "unreadable certificate file" "cannot read the certificate file" \
        REMEDOR_SIGN_PKCS12="$work/unreadable.p12" "${good[1]}"
fi
failure "damaged certificate file" "is not a PKCS#12 file" \
    REMEDOR_SIGN_PKCS12="$work/damaged.p12" "${good[1]}"
failure "expired certificate" "has expired" \
    REMEDOR_SIGN_PKCS12="$certificates/expired.p12" "${good[1]}"
# Nothing listens on the discard port: osslsigncode itself fails, with the bundle staged; its
# own message follows ours.
failure "time-stamp server refusing" "signing remedor[a-z-]*\.exe failed.*osslsigncode said.*timestamping failed" \
    "${good[@]}" REMEDOR_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/

# --- the good certificate, last --------------------------------------------------------------
build signed "${good[@]}"
((status == 0)) || sed 's/^/    /' "$work/signed.log"
check "good certificate: build-windows.sh succeeds" test $status = 0
check "good certificate: says nothing of an unsigned bundle" quiet_about_unsigned signed
check "good certificate: every program is signed" no_unsigned_program
check "good certificate: the same files as the unsigned bundle" test "$(file_list)" = "$unsigned_files"
check "good certificate: the notices and the rest are those of the unsigned bundle" \
    test "$(others)" = "$unsigned_others"

