#!/usr/bin/env bash
# Each program is of the given kind, as the subsystem in its PE header says: gui (Windows GUI)
# for the wizard, console (Windows CUI) for programs whose output must reach the caller.
# Usage: check-subsystem.sh gui|console PROGRAM.exe...
set -euo pipefail
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p'; }

case ${1:?usage: check-subsystem.sh gui|console PROGRAM.exe...} in
    gui) expected="(Windows GUI)" kind="Windows GUI program" ;;
    console) expected="(Windows CUI)" kind="console program" ;;
    *) echo "check-subsystem.sh: unknown kind $1" >&2; exit 2 ;;
esac
shift
for program in "$@"; do
    check "$(basename "$program"): $kind" test "$(subsystem "$program")" = "$expected"
done
