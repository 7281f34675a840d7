#!/usr/bin/env bash
# Every check of the project, in order: the Linux build with warnings as errors and its
# tests; the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer; the
# code's formatting; the translations against the source texts; the artwork against its SVG
# sources; a minute of fuzzing the registry file parser;
# then the Windows program, cross-built and tested under Wine.
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
    stage "Windows build"
    "$repo/scripts/build-windows.sh"
    stage "Windows tests under Wine"
    "$repo/scripts/test-windows.sh"
fi
stage "All checks passed"
