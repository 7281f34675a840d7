#!/usr/bin/env bash
# Builds Remedor with warnings as errors and runs every test.
#   BUILD_DIR        build folder (default: build)
#   REMEDOR_SANITIZE ON for an AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$repo/build}
"$repo/scripts/install-deps.sh"

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DREMEDOR_WERROR=ON -DREMEDOR_SANITIZE="${REMEDOR_SANITIZE:-OFF}" >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure --timeout 600
