#!/usr/bin/env bash
# The removal scenarios' steps around the runs of tst_windowsremoval, each a test of
# WindowsTests.cmake, in this order on one Wine prefix (WINEPREFIX):
#
#   scenarios.sh installed          the sixteen packages and the leftovers are in place
#   scenarios.sh A-keys             after scenario A's run (DEU, FRA, JPN ticked)
#   scenarios.sh B-prepare          stale registrations of packages that are gone
#   scenarios.sh B-keys             after scenario B's run (DEU, FRA ticked)
#   scenarios.sh C-prepare FOLDER   no settings keys at all, the suite installed again from
#                                   FOLDER, a bootstrapper whose language is not ticked
#   scenarios.sh C-keys             after scenario C's run (CHS, ENU ticked)
#
# Every key is checked from outside with `wine reg query`; the first failed check ends the step.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=registry-checks.sh
source "$here/registry-checks.sh"

packages_installed() {
    local entry language
    for entry in "${REMEDOR_EDITIONS[@]}" suite; do
        language=${entry%% *}
        check "setup: $language installed (32-bit uninstall entry, Installer\\Products, file)" installed "$language"
    done
    check "setup: bootstrapper entry in the 32-bit view" \
        value_is "$uninstall32\\$REMEDOR_BOOTSTRAPPER_CODE" PeldaLanguage de-DE
    check "setup: settings keys in the 32-bit view" present "$settings32" de-DE
}

scenario_a_keys() {
    local ticked=(DEU FRA JPN) entry language locale
    for language in "${ticked[@]}" suite; do
        check "A: $language uninstalled (entry, Installer\\Products, file)" uninstalled "$language"
    done
    for language in "${ticked[@]}"; do
        locale=$(locale_tag "$language")
        check "A: per-machine settings $locale deleted" gone "$settings32" "$locale"
        check "A: per-user settings $locale deleted" gone "$user_settings" "$locale"
    done
    check "A: bootstrapper entry deleted" gone "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE"
    for entry in "${REMEDOR_EDITIONS[@]}"; do
        read -r language locale _ <<<"$entry"
        [[ " ${ticked[*]} " == *" $language "* ]] && continue
        check "A: unticked $language still installed" installed "$language"
        check "A: unticked $locale settings kept, with subkey and value" key_exists "$settings32\\$locale\\Recent"
        check "A: unticked $locale per-user settings kept" key_exists "$user_settings\\$locale\\Recent"
    done
    check "A: settings parent kept with its value" \
        value_is "$settings32" InstallDir 'C:\\Program Files \(x86\)\\PELDA\+ 2015'
    check "A: decoy xx-XX kept (machine)" present "$settings32" xx-XX
    check "A: decoy xx-XX kept (user)" present "$user_settings" xx-XX
    check "A: 64-bit HKLM\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE kept" value_is "$settings64\\de-DE" Theme 0x4
    check "A: 64-bit uninstall entry of DEU kept" \
        value_is "$uninstall64\\$(product_code DEU)" DisplayName "64-bit entry"
    check "A: unrelated Installer\\Products key kept" present "$products" "$unrelated_product"
    check "A: no 32-bit copy of HKCR\\Installer made" \
        key_absent 'HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node\Installer'
}

# DEU's registrations left behind exactly as the package wrote them; FRA's only in other
# spellings of its names, which must stay.
scenario_b_prepare() {
    local deu fra
    deu=$(product_code DEU)
    fra=$(product_code FRA)
    {
        printf 'Windows Registry Editor Version 5.00\r\n'
        printf '\r\n[%s\\%s]\r\n"DisplayName"="PELDA+ 2015 DEU"\r\n' "$uninstall32" "$deu"
        printf '\r\n[%s\\%s\\SourceList]\r\n"PackageName"="DEU.msi"\r\n' "$products" "$(packed_code "$deu")"
        printf '\r\n[%s\\de-DE\\Recent]\r\n"1"="C:\\\\DEU.pel"\r\n' "$settings32"
        printf '\r\n[%s\\de-DE]\r\n"Theme"=dword:00000001\r\n' "$user_settings"
        printf '\r\n[%s\\%s]\r\n"DisplayName"="lower case"\r\n' "$uninstall32" "${fra,,}"
        printf '\r\n[%s\\%s]\r\n"ProductName"="lower case"\r\n' "$products" "$(packed_code "$fra" | tr 'A-F' 'a-f')"
        printf '\r\n[%s\\FR-fr]\r\n"Theme"=dword:00000001\r\n' "$settings32"
        printf '\r\n[%s\\fr-fr]\r\n"Theme"=dword:00000001\r\n' "$user_settings"
    } | import_reg stale
    echo "stale registrations of DEU and FRA imported"
}

scenario_b_keys() {
    local deu fra
    deu=$(product_code DEU)
    fra=$(product_code FRA)
    check "B: stale DEU uninstall entry deleted" gone "$uninstall32" "$deu"
    check "B: stale DEU Installer\\Products key deleted" gone "$products" "$(packed_code "$deu")"
    check "B: stale de-DE settings deleted (machine)" gone "$settings32" de-DE
    check "B: stale de-DE settings deleted (user)" gone "$user_settings" de-DE
    check "B: lower-case FRA uninstall entry kept" present "$uninstall32" "${fra,,}"
    check "B: lower-case FRA Installer\\Products key kept" present "$products" "$(packed_code "$fra" | tr 'A-F' 'a-f')"
    check "B: FR-fr settings kept (machine)" present "$settings32" FR-fr
    check "B: fr-fr settings kept (user)" present "$user_settings" fr-fr
    check "B: 64-bit settings de-DE still kept" value_is "$settings64\\de-DE" Theme 0x4
    check "B: 64-bit uninstall entry of DEU still kept" value_is "$uninstall64\\$deu" DisplayName "64-bit entry"
    check "B: no bootstrapper entry, so the suite was not run again" gone "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE"
}

scenario_c_prepare() {
    wine reg delete 'HKEY_CURRENT_USER\SOFTWARE\DAWLIX' /f >/dev/null 2>&1 || true
    wine reg delete "$hklm32\\DAWLIX" /f >/dev/null 2>&1 || true
    install_package "$1" suite
    bootstrapper_file ko-KR | import_reg bootstrapper-ko
    check "C setup: no HKCU\\SOFTWARE\\DAWLIX" key_absent 'HKEY_CURRENT_USER\SOFTWARE\DAWLIX'
    check "C setup: no HKLM\\SOFTWARE\\WOW6432Node\\DAWLIX" key_absent "$hklm32\\DAWLIX"
    check "C setup: suite installed again" installed suite
}

scenario_c_keys() {
    local language
    check "C: CHS uninstalled" uninstalled CHS
    check "C: ENU uninstalled" uninstalled ENU
    check "C: HKCU\\SOFTWARE\\DAWLIX still absent" key_absent 'HKEY_CURRENT_USER\SOFTWARE\DAWLIX'
    check "C: HKLM\\SOFTWARE\\WOW6432Node\\DAWLIX still absent" key_absent "$hklm32\\DAWLIX"
    check "C: HKLM\\SOFTWARE\\DAWLIX (64-bit) unchanged" test "$(children "$settings64")" = "de-DE"
    check "C: suite kept (bootstrapper language not ticked)" installed suite
    check "C: bootstrapper entry kept" value_is "$uninstall32\\$REMEDOR_BOOTSTRAPPER_CODE" PeldaLanguage ko-KR
    for language in CHT CSY ESN HUN ITA KOR PLK PTB RUS TRK; do
        check "C: unticked $language still installed" installed "$language"
    done
}

step=${1:?usage: scenarios.sh installed|A-keys|B-prepare|B-keys|C-prepare FOLDER|C-keys}
case $step in
    installed) packages_installed ;;
    A-keys) scenario_a_keys ;;
    B-prepare) scenario_b_prepare ;;
    B-keys) scenario_b_keys ;;
    C-prepare) scenario_c_prepare "${2:?the packages folder}" ;;
    C-keys) scenario_c_keys ;;
    *) echo "scenarios.sh: unknown step $step" >&2; exit 2 ;;
esac
