#!/usr/bin/env bash
# The program imports each named function from the named DLL, as its PE import table says.
# Usage: check-imports.sh PROGRAM.exe DLL FUNCTION...
set -euo pipefail
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

program=${1:?usage: check-imports.sh PROGRAM.exe DLL FUNCTION...}
dll=${2:?the DLL}
shift 2
# objdump lists each DLL's imports under "DLL Name: X" up to the next blank line.
imports=$(x86_64-w64-mingw32-objdump -p "$program" \
    | awk -v dll="$dll" 'tolower($0) ~ "dll name: " tolower(dll) { inside = 1; next }
                         inside && NF == 0 { inside = 0 }
                         inside { print $NF }')
for function in "$@"; do
    check "$(basename "$program"): imports $function from $dll" grep -qxF "$function" <<<"$imports"
done
