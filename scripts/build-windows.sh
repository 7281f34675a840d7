#!/usr/bin/env bash
# Cross-builds the Windows program and its Windows tests with MinGW-w64 against the static Qt 6
# for Windows kept in <repo>/../shared/toolchains: every program carries Qt, its platform plug-in,
# its style (the native look) and the MinGW run time inside itself, and needs no DLL beside it.
# Stages the release:
#
#   build-windows/remedor.exe, remedor-cli.exe, the test programs (all stripped), and
#   build-windows/bundle/            remedor.exe, remedor-cli.exe, THIRD-PARTY-NOTICES.txt (the
#                                    licences of what the two programs link, made from their link
#                                    maps by scripts/make-notices.py) and the chosen translation
#   build-windows/remedor-bundle.zip that folder, zipped
#   build-windows/SHA256SUMS         the SHA-256 sums of the zip and of every file of the bundle
#                                    (cd build-windows && sha256sum -c SHA256SUMS)
#
# Usage: scripts/build-windows.sh          (as root: installs missing packages with apt-get)
# Environment: REMEDOR_LANGUAGE=deu (etc.) sets the translation staged beside the program;
#              when unset, the choice of the last configure run stays.
#   REMEDOR_SIGN_PKCS12=FILE          signs every program of the bundle (each .exe) with the
#                                     certificate and key in that PKCS#12 file, SHA-256 digests;
#                                     unset: unsigned.
#   REMEDOR_SIGN_PASSWORD_FILE=FILE   the file holding that PKCS#12 file's password.
#   REMEDOR_SIGN_TIMESTAMP_URL=URL    an RFC 3161 time-stamp server that countersigns (optional).
# When signing is asked for, any failure leaves no bundle, zip or SHA256SUMS at all rather than
# an unsigned or half-signed one.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
shared=$(cd "$repo/../shared" 2>/dev/null && pwd) || {
    echo "build-windows: no shared folder beside the repository ($repo/../shared)" >&2
    exit 1
}
toolchain=$shared/toolchains
build=$repo/build-windows
bundle=$build/bundle
zip=$build/remedor-bundle.zip
sums=$build/SHA256SUMS
certificate=${REMEDOR_SIGN_PKCS12:-}
qt=/opt/qt6-mingw-static

say() { echo "build-windows: $*"; }
die() {
    echo "build-windows: $*" >&2
    exit 1
}

# check_certificate: the PKCS#12 file opens with its password and its certificate has not
# expired (osslsigncode itself signs with an expired one).
check_certificate() {
    local password=${REMEDOR_SIGN_PASSWORD_FILE:-}
    [[ -f $certificate && -r $certificate ]] || die "cannot read the certificate file $certificate"
    [[ -n $password ]] \
        || die "REMEDOR_SIGN_PASSWORD_FILE must name the file holding the password of $certificate"
    [[ -f $password && -r $password ]] || die "cannot read the password file $password"
    openssl asn1parse -inform DER -in "$certificate" >/dev/null 2>&1 \
        || die "$certificate is not a PKCS#12 file"
    # Files made by older tools use ciphers that OpenSSL 3 keeps in its legacy provider.
    local open=(pkcs12 -in "$certificate" -passin "file:$password" -nokeys -clcerts
                -out "$work/certificate.pem")
    if ! openssl "${open[@]}" 2>"$work/openssl.log" && ! openssl "${open[@]}" -legacy 2>/dev/null; then
        echo "build-windows: cannot open $certificate with the password in $password" \
            "(wrong password?):" >&2
        sed 's/^/  /' "$work/openssl.log" >&2
        exit 1
    fi
    local end
    end=$(openssl x509 -in "$work/certificate.pem" -noout -enddate)
    openssl x509 -in "$work/certificate.pem" -noout -checkend 0 >/dev/null \
        || die "the certificate in $certificate has expired (${end#notAfter=})"
}

# sign_programs: signs every .exe of the bundle, each into a file of its own that replaces the
# program only once osslsigncode has succeeded.
sign_programs() {
    local options=(-pkcs12 "$certificate" -readpass "$REMEDOR_SIGN_PASSWORD_FILE" -h sha256)
    if [[ -n ${REMEDOR_SIGN_TIMESTAMP_URL:-} ]]; then
        options+=(-ts "$REMEDOR_SIGN_TIMESTAMP_URL")
    fi
    local program signed=()
    while IFS= read -r -d '' program; do
        if ! osslsigncode sign "${options[@]}" -in "$program" -out "$work/signed.exe" \
            >"$work/osslsigncode.log" 2>&1; then
            echo "build-windows: signing ${program#"$bundle"/} failed, so the bundle is removed;" \
                "osslsigncode said:" >&2
            sed 's/^/  /' "$work/osslsigncode.log" >&2
            exit 1
        fi
        mv "$work/signed.exe" "$program"
        signed+=("${program#"$bundle"/}")
    done < <(find "$bundle" -type f -iname '*.exe' -print0 | LC_ALL=C sort -z)
    ((${#signed[@]})) || die "the bundle holds no program to sign"
    say "signed with $certificate: ${signed[*]}"
}

# discard_on_failure: the exit trap when signing is asked for.
discard_on_failure() {
    local status=$?
    rm -rf "$work"
    if ((status != 0)); then
        rm -rf "$bundle" "$zip" "$sums"
    fi
}

# --- packages -----------------------------------------------------------------------------
"$repo/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 cmake ninja-build xz-utils qt6-base-dev qt6-base-dev-tools \
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools python3

# --- signing certificate, checked before anything is built --------------------------------
if [[ -n $certificate ]]; then
    "$repo/scripts/install-deps.sh" osslsigncode openssl
    mkdir -p "$build"
    # Beside the bundle, so that moving a signed program into it is a rename.
    work=$(mktemp -d "$build/signing.XXXXXX")
    trap discard_on_failure EXIT
    check_certificate
fi

# --- Qt for Windows -----------------------------------------------------------------------
if [[ ! -f $qt/lib/cmake/Qt6/Qt6Config.cmake || ! -f $qt/lib/libQt6Core.a ]]; then
    say "unpacking $toolchain/qt6-mingw64-static.tar.xz to $qt"
    tar -C "$(dirname "$qt")" -xJf "$toolchain/qt6-mingw64-static.tar.xz"
fi

# --- configure and build ------------------------------------------------------------------
# -static takes the MinGW run time (libstdc++, libgcc, winpthread) in as well; -s strips. The
# benchmarks have build folders of their own (scripts/run-benchmarks.sh): every statically linked
# program costs link time.
configure=(
    -S "$repo" -B "$build" -G Ninja
    -DCMAKE_TOOLCHAIN_FILE="$toolchain/mingw64-static.cmake"
    -DCMAKE_PREFIX_PATH="$qt"
    -DCMAKE_EXE_LINKER_FLAGS="-static -s"
    -DCMAKE_BUILD_TYPE=Release
    -DREMEDOR_WERROR=ON
    -DREMEDOR_BENCHMARKS=OFF
)
if [[ -v REMEDOR_LANGUAGE ]]; then
    configure+=(-DREMEDOR_LANGUAGE="$REMEDOR_LANGUAGE")
fi
say "configuring $build"
mkdir -p "$build"
# A build folder made against the shared Qt keeps its toolchain in the cache: start it afresh.
if [[ -f $build/CMakeCache.txt ]] && [[ $(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$build/CMakeCache.txt") \
    != "$toolchain/mingw64-static.cmake" ]]; then
    configure+=(--fresh)
fi
cmake "${configure[@]}" >"$build/configure.log" 2>&1 || {
    cat "$build/configure.log" >&2
    exit 1
}

say "building"
if ! cmake --build "$build" >"$build/build.log" 2>&1; then
    grep -E -B2 -A12 'error|FAILED' "$build/build.log" | head -80 >&2
    echo "build-windows: the build failed; the whole log is $build/build.log" >&2
    exit 1
fi

# --- bundle -------------------------------------------------------------------------------
language=$(sed -n 's/^REMEDOR_LANGUAGE:STRING=//p' "$build/CMakeCache.txt")
rm -rf "$bundle" "$zip" "$sums"
mkdir -p "$bundle"
cp "$build/remedor.exe" "$build/remedor-cli.exe" "$bundle/"
python3 "$repo/scripts/make-notices.py" --licenses "$qt/licenses" \
    --output "$bundle/THIRD-PARTY-NOTICES.txt" "$build/remedor.exe.map" "$build/remedor-cli.exe.map"
if [[ -n $language ]]; then
    cp "$build/translations/remedor_$language.qm" "$bundle/"
fi
if [[ -n $certificate ]]; then
    sign_programs
else
    say "the bundle is unsigned (REMEDOR_SIGN_PKCS12 names no certificate)"
fi
(cd "$build" && cmake -E tar cf remedor-bundle.zip --format=zip bundle)
(cd "$build" && sha256sum remedor-bundle.zip \
    && find bundle -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum) >"$sums"

say "done: $build/remedor.exe, $build/remedor-cli.exe, $bundle/ ($(cd "$bundle" && find . -type f | sort | tr '\n' ' ')), $zip and $sums"
