#!/usr/bin/env bash
# The Wine machine the Windows tests run on (build-windows/wine-prefix, named by WINEPREFIX).
# The fixture tests of WindowsTests.cmake call it:
#
#   machine.sh prefix FOLDER...   a fresh prefix, its server kept up until `stop`; FOLDERs hold
#                                 the decoy installer, whose old markers go
#   machine.sh packages FOLDER    the sixteen test packages built into FOLDER and installed,
#                                 then the leftover settings keys and decoys imported
#   machine.sh decoy FOLDER...    fails when the decoy installer left its marker in a FOLDER or
#                                 in C:\ (it writes its command line there when started)
#   machine.sh stop               ends every program of the prefix and its server
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=registry-checks.sh
source "$here/registry-checks.sh"

marker=decoy-installer-ran.txt

fresh_prefix() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    local folder
    for folder in "$@"; do rm -f "$folder/$marker"; done
    mkdir -p "$WINEPREFIX"
    # Kept up for the whole run, so that each program does not start Wine's services again.
    # Nothing Wine starts may hold ctest's output open: it waits for that to close.
    wineserver -p </dev/null >/dev/null 2>&1
    local log=$WINEPREFIX/wineboot.log
    if ! timeout 300 wineboot -i </dev/null >"$log" 2>&1; then
        cat "$log" >&2
        echo "wineboot failed" >&2
        exit 1
    fi
    [[ -f $WINEPREFIX/drive_c/windows/system32/msiexec.exe ]] || {
        echo "the prefix has no system32\\msiexec.exe" >&2
        exit 1
    }
    echo "Wine prefix $WINEPREFIX ready (display ${DISPLAY:-none})"
}

# A registry editor file of leftovers: settings keys for every locale, per machine (32-bit view)
# and per user, with a value and a subkey each, and the decoys.
leftovers_file() {
    printf 'Windows Registry Editor Version 5.00\r\n'
    local entry language locale
    printf '\r\n[%s]\r\n"InstallDir"="C:\\\\Program Files (x86)\\\\PELDA+ 2015"\r\n' "$settings32"
    for entry in "${REMEDOR_EDITIONS[@]}"; do
        read -r language locale _ <<<"$entry"
        printf '\r\n[%s\\%s]\r\n"Theme"=dword:00000002\r\n"Edition"="%s"\r\n' "$settings32" "$locale" "$language"
        printf '\r\n[%s\\%s\\Recent]\r\n"1"="C:\\\\%s.pel"\r\n' "$settings32" "$locale" "$language"
        printf '\r\n[%s\\%s]\r\n"Theme"=dword:00000001\r\n' "$user_settings" "$locale"
        printf '\r\n[%s\\%s\\Recent]\r\n"1"="C:\\\\%s.pel"\r\n' "$user_settings" "$locale" "$language"
    done
    # Decoys: a sibling that is no locale, and the same names in the 64-bit view.
    printf '\r\n[%s\\xx-XX]\r\n"Theme"=dword:00000003\r\n' "$settings32"
    printf '\r\n[%s\\xx-XX]\r\n"Theme"=dword:00000003\r\n' "$user_settings"
    printf '\r\n[%s\\de-DE]\r\n"Theme"=dword:00000004\r\n' "$settings64"
    printf '\r\n[%s\\%s]\r\n"DisplayName"="64-bit entry"\r\n' "$uninstall64" "$(product_code DEU)"
    printf '\r\n[%s\\%s]\r\n"ProductName"="Unrelated"\r\n' "$products" "$unrelated_product"
}

installed_packages() {
    local folder=$1 entry
    "$here/make-test-packages.sh" "$folder" >/dev/null
    for entry in "${REMEDOR_EDITIONS[@]}" suite; do
        install_package "$folder" "${entry%% *}"
    done
    leftovers_file | import_reg leftovers
    bootstrapper_file de-DE | import_reg bootstrapper-de
    echo "sixteen packages installed, leftover keys imported"
}

decoy_never_ran() {
    local found
    found=$(find "$@" "$WINEPREFIX/drive_c" -maxdepth 1 -name "$marker" 2>/dev/null || true)
    if [[ -n $found ]]; then
        while IFS= read -r found; do
            echo "the decoy installer ran: $found: $(tr -d '\0' <"$found")" >&2
        done <<<"$found"
        exit 1
    fi
    echo "the decoy installer never ran"
}

step=${1:?usage: machine.sh prefix|packages|decoy|stop [FOLDER...]}
shift
case $step in
    prefix) fresh_prefix "$@" ;;
    packages) installed_packages "${1:?the packages folder}" ;;
    decoy) decoy_never_ran "$@" ;;
    stop) wineserver -k >/dev/null 2>&1 || true ;;
    *) echo "machine.sh: unknown step $step" >&2; exit 2 ;;
esac
