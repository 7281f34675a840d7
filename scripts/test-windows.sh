#!/usr/bin/env bash
# Tests the Windows build made by scripts/build-windows.sh under Wine, through ctest: the
# program's resources, the portable Qt tests as Windows programs, the Windows backends, real
# removal runs on sixteen installed packages checked key by key, and the bundle (the tests are
# listed in tests/windows/WindowsTests.cmake). Wine needs an X display even for offscreen
# programs: an Xvfb of its own is started for the run.
#
# Usage: scripts/test-windows.sh [CTEST OPTION...]   (as root: installs missing packages)
# e.g. scripts/test-windows.sh -R scenario
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build-windows
source "$repo/scripts/xvfb.sh"

"$repo/scripts/install-deps.sh" wine wine64 msitools wixl icoutils xvfb x11-utils \
    binutils-mingw-w64-x86-64 cmake
[[ -f $build/CTestTestfile.cmake ]] || {
    echo "test-windows: $build holds no build: run scripts/build-windows.sh first" >&2
    exit 1
}

start_xvfb "$build" || exit 1
trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null || true' EXIT

ctest --test-dir "$build" --output-on-failure -j2 "$@"
