#!/usr/bin/env bash
# Every check of the project, in order: the Linux build with warnings as errors and its
# tests; the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer; the
# code's formatting; the translations against the source texts; the artwork against its SVG
# sources; a minute of fuzzing the registry file parser; then the Windows program,
# cross-built and signed with a throwaway certificate, its signing checked, and tested under
# Wine.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
stage() { printf '\n==== %s ====\n' "$*"; }

stage "Linux build and tests"
BUILD_DIR="$repo/build" "$repo/scripts/run-tests.sh"

stage "Sanitizer build and tests"
BUILD_DIR="$repo/build-sanitize" REMEDOR_SANITIZE=ON "$repo/scripts/run-tests.sh"

stage "Formatting"
"$repo/scripts/install-deps.sh" clang-format
git -C "$repo" ls-files '*.cpp' '*.h' | (cd "$repo" && xargs clang-format --dry-run --Werror)
echo "Every C++ file follows .clang-format."

stage "Translations"
"$repo/scripts/check-translations.sh"

stage "Artwork"
"$repo/scripts/check-artwork.sh"

stage "Fuzzing the registry file parser"
"$repo/scripts/fuzz-regfile.sh" 60

if [ -x "$repo/scripts/build-windows.sh" ] && [ -x "$repo/scripts/test-windows.sh" ]; then
    stage "Windows build, signed with a throwaway certificate"
    certificates=$(mktemp -d)
    trap 'rm -rf "$certificates"' EXIT
    "$repo/tests/windows/make-test-certificate.sh" "$certificates"
    REMEDOR_SIGN_PKCS12=$certificates/remedor-test.p12 REMEDOR_SIGN_PASSWORD_FILE=$certificates/password.txt \
        "$repo/scripts/build-windows.sh"
    stage "Signing failures (each ends without an unsigned bundle), then the signed build again"
    "$repo/tests/windows/check-signing-failures.sh" "$certificates"
    stage "Windows tests under Wine, the bundle's signatures among them"
    REMEDOR_TEST_CERTIFICATE=$certificates/remedor-test.pem "$repo/scripts/test-windows.sh"
fi
stage "All checks passed"
