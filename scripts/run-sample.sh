#!/usr/bin/env bash
# Builds Remedor and opens the wizard on a sample machine: a registry stand-in with all
# fifteen editions and the suite installed (the bootstrapper recording "de-DE"), leftover
# settings and decoys, and the stand-in installer, slowed down so that progress shows.
# The sample file in the repository is never changed: the wizard works on a copy.
# After the wizard closes, the keys it removed are listed.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$repo/build}
"$repo/scripts/install-deps.sh"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target remedor fake_msiexec

machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
cp "$repo/scripts/sample-machine.reg" "$machine/registry.reg"
export REMEDOR_REGISTRY="$machine/registry.reg"
export REMEDOR_FAKE_MSIEXEC_LOG="$machine/msiexec.log"
export REMEDOR_FAKE_MSIEXEC_DELAY_MS=${REMEDOR_FAKE_MSIEXEC_DELAY_MS:-700}
export PATH="$build/tests/fake-msiexec:$PATH"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: the wizard is served over VNC. Connect a VNC viewer to localhost:5900."
    export QT_QPA_PLATFORM=vnc:size=800x600
fi
"$build/remedor" || true

keys() { grep -a '^\[' "$1" | sort; }
echo
echo "Installer calls:"
sed 's/^/  msiexec.exe /' "$machine/msiexec.log" 2>/dev/null || echo "  (none)"
echo "Registry keys removed:"
removed=$(comm -23 <(keys "$repo/scripts/sample-machine.reg") <(keys "$machine/registry.reg"))
if [ -n "$removed" ]; then sed 's/^/  /' <<<"$removed"; else echo "  (none)"; fi
