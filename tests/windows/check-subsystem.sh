#!/usr/bin/env bash
# Each program is of the given Windows subsystem, as its PE header says: "Windows GUI" for the
# wizard, "Windows CUI" (console) for programs whose output must reach the caller.
# Usage: check-subsystem.sh SUBSYSTEM PROGRAM.exe...
set -euo pipefail
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p'; }

expected=${1:?usage: check-subsystem.sh SUBSYSTEM PROGRAM.exe...}
shift
for program in "$@"; do
    check "$(basename "$program"): $expected program" test "$(subsystem "$program")" = "($expected)"
done
