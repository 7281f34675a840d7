# shellcheck shell=bash
# The registry and files of the Wine prefix as the removal tests see them, read and written from
# outside with `wine reg`. Sourced by machine.sh and scenarios.sh; WINEPREFIX names the prefix.

# shellcheck source=editions.sh
source "$(dirname "${BASH_SOURCE[0]}")/editions.sh"
# shellcheck source=check.sh
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

hklm32='HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node'
uninstall32="$hklm32\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
uninstall64='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
settings32="$hklm32\\DAWLIX\\PELDA\\2015"
settings64='HKEY_LOCAL_MACHINE\SOFTWARE\DAWLIX\PELDA\2015'
user_settings='HKEY_CURRENT_USER\SOFTWARE\DAWLIX\PELDA\2015'
products='HKEY_CLASSES_ROOT\Installer\Products'
program_files="$WINEPREFIX/drive_c/Program Files (x86)/PELDA+ 2015"
unrelated_product=00112233445566778899AABBCCDDEEFF

# The subkey names of a key as the registry spells them, one a line; nothing when it is missing.
children() {
    wine reg query "$1" 2>/dev/null | tr -d '\r' | grep -a '^HKEY_' \
        | awk -v depth="$(($(tr -cd '\\' <<<"$1" | wc -c) + 1))" -F'\\' 'NF == depth + 1 { print $NF }'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
key_absent() { ! key_exists "$1"; }
# present PARENT NAME: a child of exactly that spelling exists.
# A key that should be there is looked for twice: now and then Wine's reg query under a busy
# server misses one; a key that is really gone stays gone.
present() { children "$1" | grep -xF -- "$2" >/dev/null || { sleep 1 && children "$1" | grep -xF -- "$2" >/dev/null; }; }
# gone PARENT NAME: no child of that name, in any letter case.
gone() { ! children "$1" | grep -ixF -- "$2" >/dev/null; }
value_is() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -E "^ +$2 +REG_[A-Z_]+ +$3\$" >/dev/null; }

# package_folder LANGUAGE|suite: where the package puts its file.
package_folder() { if [[ $1 == suite ]]; then echo Suite; else echo "$1"; fi; }

installed() { # installed LANGUAGE|suite: the package's registrations and file are all there
    local code
    code=$(product_code "$1")
    present "$uninstall32" "$code" && present "$products" "$(packed_code "$code")" \
        && [[ -f $program_files/$(package_folder "$1")/readme.txt ]]
}
uninstalled() { # the package's registrations and file are all gone
    local code
    code=$(product_code "$1")
    gone "$uninstall32" "$code" && gone "$products" "$(packed_code "$code")" \
        && [[ ! -e $program_files/$(package_folder "$1")/readme.txt ]]
}

# install_package FOLDER LANGUAGE|suite: Wine's msiexec installs FOLDER/LANGUAGE.msi, quietly.
install_package() {
    (cd "$1" && wine msiexec /i "$2.msi" /qn) || {
        echo "msiexec /i $2.msi failed" >&2
        return 1
    }
}

# import_reg NAME < registry editor file: imports it, keeping a copy in the prefix.
import_reg() {
    local folder=$WINEPREFIX/drive_c/remedor-tests
    mkdir -p "$folder"
    cat >"$folder/$1.reg"
    wine reg import "C:\\remedor-tests\\$1.reg" >/dev/null 2>&1 || {
        echo "reg import $1.reg failed" >&2
        return 1
    }
}

# bootstrapper_file LOCALE: the bootstrapper's uninstall entry, naming its language.
bootstrapper_file() {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\%s]\r\n"DisplayName"="%s"\r\n"PeldaLanguage"="%s"\r\n' \
        "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE" "$REMEDOR_SUITE_NAME" "$1"
}
