#!/usr/bin/env bash
# Tests the Windows build made by scripts/build-windows.sh, under Wine, in a throwaway prefix:
#
#   1. the program's resources: icon group IDI_ICON1, the elevation manifest, nothing else;
#   2. the portable Qt tests, run as Windows programs (offscreen, under Xvfb);
#   3. the Windows backends: tst_windowsregistrykey and tst_windowsinstaller;
#   4. real removal runs: sixteen packages built with wixl and installed by Wine's msiexec,
#      leftover settings keys and decoys, the Process page's run, then every key checked from
#      outside with `wine reg query`; a decoy msiexec.exe beside the test and in its working
#      folder must never run;
#   5. the bundle starts and shows its wizard window (a screenshot is kept when ImageMagick's
#      import is there).
#
# Usage: scripts/test-windows.sh      (as root: installs missing packages with apt-get)
# Everything it makes goes to build-windows/test-windows/ (logs/ holds each program's output).
# Exits non-zero when anything failed; the summary at the end names every failed check, and
# logs/checks.txt lists them all.
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/scripts/xvfb.sh"
build=$repo/build-windows
here=$repo/tests/windows
run=$build/test-windows
logs=$run/logs
qt=/opt/qt6-mingw
mingw_gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_lib=/usr/x86_64-w64-mingw32/lib
started=$(date +%s)

# shellcheck source=../tests/windows/editions.sh
source "$here/editions.sh"

say() { echo "test-windows: $*"; }
die() {
    echo "test-windows: $*" >&2
    exit 1
}

passed=()
failed=()
# Every check is also listed in logs/checks.txt.
pass() {
    passed+=("$1")
    echo "PASS  $1" >>"$logs/checks.txt"
}
fail() {
    failed+=("$1")
    echo "FAIL  $1" >>"$logs/checks.txt"
    echo "  FAILED: $1" >&2
}
# check DESCRIPTION COMMAND...: records whether the command succeeds.
check() {
    local description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}

# --- packages and build -------------------------------------------------------------------
"$repo/scripts/install-deps.sh" wine wine64 msitools wixl icoutils xvfb x11-utils \
    binutils-mingw-w64-x86-64 osslsigncode

portable_tests=(tst_editioncatalogue tst_packedproductcode tst_translationloader tst_wizard
                tst_processpage tst_regfile)
windows_tests=(tst_windowsregistrykey tst_windowsinstaller tst_windowsremoval)
for program in remedor "${portable_tests[@]}"; do
    [[ -f $build/$program.exe ]] || die "$build/$program.exe is missing: run scripts/build-windows.sh first"
done
for program in "${windows_tests[@]}"; do
    [[ -f $build/tests/windows/$program.exe ]] \
        || die "$build/tests/windows/$program.exe is missing: run scripts/build-windows.sh first"
done
decoy=$build/tests/windows/decoy/remedor-decoy-installer.exe
[[ -f $decoy ]] || die "$decoy is missing: run scripts/build-windows.sh first"
[[ -f $build/bundle/remedor.exe ]] || die "$build/bundle is missing: run scripts/build-windows.sh first"

# A fresh folder for everything this run makes, the Wine prefix included.
if [[ -d $run ]]; then
    WINEPREFIX=$run/prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$run"
fi
mkdir -p "$logs"

# --- 1. resources of remedor.exe ----------------------------------------------------------
say "checking the resources of remedor.exe"
exe=$build/remedor.exe
resources=$(wrestool -l "$exe" 2>&1)
echo "$resources" >"$logs/resources.txt"

count_type() { grep -c -- "--type=$1 " <<<"$resources"; }
check "resources: one icon group, named IDI_ICON1" \
    test "$(grep -c -- '--type=14 ' <<<"$resources")" = 1 -a \
    "$(grep -c -- "--type=14 --name='IDI_ICON1' --language=1033 " <<<"$resources")" = 1
check "resources: six icon images" test "$(count_type 3)" = 6
check "resources: one manifest, id 1" test "$(count_type 24)" = 1 -a \
    "$(grep -c -- '--type=24 --name=1 --language=1033 ' <<<"$resources")" = 1
check "resources: everything in language 1033" test "$(grep -c -- '--language=1033 ' <<<"$resources")" = \
    "$(grep -c -- '--type=' <<<"$resources")"
check "resources: nothing but icons, icon group and manifest" \
    test -z "$(grep -- '--type=' <<<"$resources" | grep -v -e '--type=3 ' -e '--type=14 ' -e '--type=24 ')"
check "resources: no version resource" test "$(count_type 16)" = 0

wrestool -x -t 14 -n IDI_ICON1 -o "$run/IDI_ICON1.ico" "$exe" 2>>"$logs/resources.txt"
icon_sizes=$(icotool -l "$run/IDI_ICON1.ico" 2>>"$logs/resources.txt" \
    | sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\) --bit-depth=32.*/\1x\2/p' | tr '\n' ' ')
check "IDI_ICON1: 256, 96, 48, 32, 24 and 16 pixels, 32-bit (found: $icon_sizes)" \
    test "$icon_sizes" = "256x256 96x96 48x48 32x32 24x24 16x16 "
# The images, decoded, against those of Resources/remedor.ico.
mkdir -p "$run/icon-built" "$run/icon-source"
cp "$run/IDI_ICON1.ico" "$run/icon-built/icon.ico"
cp "$repo/Resources/remedor.ico" "$run/icon-source/icon.ico"
icon_images() { (cd "$1" && icotool -x icon.ico 2>/dev/null && md5sum icon_*.png); }
check "IDI_ICON1: the images of Resources/remedor.ico" \
    test "$(icon_images "$run/icon-built")" = "$(icon_images "$run/icon-source")" -a \
    "$(icon_images "$run/icon-built" | wc -l)" = 6

wrestool -x --raw -t 24 -n 1 -o "$run/manifest.xml" "$exe" 2>>"$logs/resources.txt"
check "manifest: the text of Resources/remedor.manifest" cmp -s "$run/manifest.xml" "$repo/Resources/remedor.manifest"
check "manifest: requireAdministrator, uiAccess false" \
    grep -q '<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>' "$run/manifest.xml"
check "manifest: only trustInfo (no dependency, compatibility or DPI settings)" \
    test "$(grep -oE '<[A-Za-z][A-Za-z0-9:]*' "$run/manifest.xml" | LC_ALL=C sort | tr '\n' ' ')" = \
    "<assembly <requestedExecutionLevel <requestedPrivileges <security <trustInfo "

subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p'; }
check "remedor.exe: Windows GUI program" test "$(subsystem "$exe")" = "(Windows GUI)"
for program in "${portable_tests[@]}"; do
    check "$program.exe: console program" test "$(subsystem "$build/$program.exe")" = "(Windows CUI)"
done
for program in "${windows_tests[@]}"; do
    check "$program.exe: console program" test "$(subsystem "$build/tests/windows/$program.exe")" = "(Windows CUI)"
done

expected_bundle=$(printf '%s\n' Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libgcc_s_seh-1.dll libstdc++-6.dll \
    libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll remedor.exe)
bundle_language=$(sed -n 's/^REMEDOR_LANGUAGE:STRING=//p' "$build/CMakeCache.txt")
[[ -n $bundle_language ]] \
    && expected_bundle=$(printf '%s\nremedor_%s.qm\n' "$expected_bundle" "$bundle_language" | sort)
check "bundle: exactly the program, its DLLs and plug-ins${bundle_language:+ and remedor_$bundle_language.qm}" \
    test "$(cd "$build/bundle" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)" = "$(LC_ALL=C sort <<<"$expected_bundle")"
# The bundle's remedor.exe is signed when build-windows.sh was given a certificate: it must carry
# the Authenticode data (the file's digest, its signature left out) of the one built.
authenticode_data() { rm -f "$2" && osslsigncode extract-data -h sha256 -in "$1" -out "$2" >/dev/null 2>&1; }
same_program() {
    authenticode_data "$exe" "$run/built.data" && authenticode_data "$1" "$run/bundled.data" \
        && cmp -s "$run/built.data" "$run/bundled.data"
}
check "bundle: remedor.exe is the one built (its signature apart)" same_program "$build/bundle/remedor.exe"
check "remedor-bundle.zip: holds the bundle" \
    test "$(cmake -E tar tf "$build/remedor-bundle.zip" 2>/dev/null | grep -v '/$' | sed 's|^bundle/||' | LC_ALL=C sort)" = \
    "$(LC_ALL=C sort <<<"$expected_bundle")"

# --- Wine, Xvfb and the programs' folder --------------------------------------------------
bin=$run/bin # the test programs with their DLLs and plug-ins
work=$run/work # their working folder
mkdir -p "$bin/platforms" "$work"
cp "$build"/tst_*.exe "$build"/tests/windows/tst_*.exe "$bin/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,Test}.dll "$bin/"
cp "$qt/plugins/platforms/qoffscreen.dll" "$qt/plugins/platforms/qwindows.dll" "$bin/platforms/"
cp "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" "$mingw_lib/libwinpthread-1.dll" "$bin/"
# Where Windows would find a bare "msiexec.exe" before the system folder: beside the program
# and in the current folder.
for folder in "$bin" "$work"; do
    cp "$decoy" "$folder/msiexec.exe"
    cp "$decoy" "$folder/remedor-decoy-installer.exe"
done

export WINEPREFIX=$run/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset WINEPATH

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT

start_xvfb "$logs" || die "Xvfb did not start (see $logs/xvfb.log)"
xvfb_pid=$XVFB_PID

say "creating the Wine prefix $WINEPREFIX (display $DISPLAY)"
timeout 300 wineboot -i >"$logs/wineboot.log" 2>&1 || die "wineboot failed (see $logs/wineboot.log)"
timeout 120 wineserver -w || die "the prefix did not settle after wineboot"
[[ -f $WINEPREFIX/drive_c/windows/system32/msiexec.exe ]] || die "the prefix has no system32\\msiexec.exe"

windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

decoy_markers() {
    find "$bin" "$work" "$WINEPREFIX/drive_c" -maxdepth 1 -name decoy-installer-ran.txt 2>/dev/null
}

# run_test NAME PROGRAM.EXE [ARGUMENT...]: runs a Qt test under Wine from the working folder,
# its log in logs/NAME.txt; records the result, with the totals line.
run_test() {
    local name=$1 program=$2 log=$logs/$1.txt status totals
    shift 2
    rm -f "$log"
    (cd "$work" && QT_QPA_PLATFORM=offscreen REMEDOR_REGISTRY= timeout 300 \
        wine "$bin/$program.exe" -o "$(windows_path "$log"),txt" "$@" >"$logs/$name.wine.txt" 2>&1)
    status=$?
    totals=$(grep -a '^Totals:' "$log" 2>/dev/null | tr -d '\r')
    if ((status == 0)) && [[ $totals == *", 0 failed,"* ]]; then
        pass "$name: ${totals:-no totals}"
        say "  $name: ${totals}"
    else
        fail "$name: exit status $status, ${totals:-no totals} (log: $log)"
        grep -a -A3 -E '^(FAIL|QFATAL|QWARN)' "$log" 2>/dev/null | tr -d '\r' | head -40 >&2
    fi
    local marker
    while IFS= read -r marker; do
        fail "$name: the decoy installer ran ($marker: $(tr -d '\0' <"$marker"))"
        rm -f "$marker"
    done < <(decoy_markers)
}

# --- 2. portable tests --------------------------------------------------------------------
say "running the portable tests"
for program in "${portable_tests[@]}"; do
    run_test "$program" "$program"
done

# --- 3. the Windows backends --------------------------------------------------------------
say "running the tests of the Windows backends"
run_test tst_windowsregistrykey tst_windowsregistrykey
run_test tst_windowsinstaller tst_windowsinstaller

# --- 4. removal runs ----------------------------------------------------------------------
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
present() { children "$1" | grep -qxF -- "$2"; }
# gone PARENT NAME: no child of that name, in any letter case.
gone() { ! children "$1" | grep -qixF -- "$2"; }
value_is() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -qE "^ +$2 +REG_[A-Z_]+ +$3\$"; }

installed() { # installed LANGUAGE|suite: the package's registrations and file are all there
    local code packed folder
    code=$(product_code "$1")
    packed=$(packed_code "$code")
    folder=$([[ $1 == suite ]] && echo Suite || echo "$1")
    present "$uninstall32" "$code" && present "$products" "$packed" && [[ -f $program_files/$folder/readme.txt ]]
}
uninstalled() { # the package's registrations and file are all gone
    local code packed folder
    code=$(product_code "$1")
    packed=$(packed_code "$code")
    folder=$([[ $1 == suite ]] && echo Suite || echo "$1")
    gone "$uninstall32" "$code" && gone "$products" "$packed" && [[ ! -e $program_files/$folder/readme.txt ]]
}

msi=$run/packages
say "building the test packages"
"$here/make-test-packages.sh" "$msi" >"$logs/packages.txt" 2>&1 || die "wixl failed (see $logs/packages.txt)"

install_package() {
    (cd "$msi" && wine msiexec /i "$1.msi" /qn >>"$logs/msiexec-install.txt" 2>&1)
}
say "installing the sixteen packages"
for entry in "${REMEDOR_EDITIONS[@]}" "suite"; do
    language=${entry%% *}
    install_package "$language" || fail "msiexec /i $language.msi"
done
for entry in "${REMEDOR_EDITIONS[@]}" "suite"; do
    language=${entry%% *}
    check "setup: $language installed (32-bit uninstall entry, Installer\\Products, file)" installed "$language"
done

# A registry editor file of leftovers: settings keys for every locale, per machine (32-bit view)
# and per user, with a value and a subkey each, and the decoys.
reg_file() {
    printf 'Windows Registry Editor Version 5.00\r\n'
    local entry language locale code
    printf '\r\n[%s]\r\n"InstallDir"="C:\\\\Program Files (x86)\\\\PELDA+ 2015"\r\n' "$settings32"
    for entry in "${REMEDOR_EDITIONS[@]}"; do
        read -r language locale code <<<"$entry"
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
bootstrapper_file() { # bootstrapper_file LOCALE
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\%s]\r\n"DisplayName"="%s"\r\n"PeldaLanguage"="%s"\r\n' \
        "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE" "$REMEDOR_SUITE_NAME" "$1"
}
import_reg() { # import_reg NAME < content
    cat >"$run/$1.reg"
    wine reg import "$(windows_path "$run/$1.reg")" >>"$logs/reg-import.txt" 2>&1 || fail "reg import $1.reg"
}

# removal_run NAME "LANGUAGES" "EXPECTED RUNS": the Process page's run, with the decoys in place.
removal_run() {
    say "removal run $1: ticked $2"
    export REMEDOR_TICK=$2 REMEDOR_EXPECT=$3
    run_test "tst_windowsremoval-$1" tst_windowsremoval
    unset REMEDOR_TICK REMEDOR_EXPECT
}

# Scenario A: a full machine; DEU, FRA and JPN ticked, DEU the bootstrapper's language.
say "scenario A: every package installed, leftovers and decoys everywhere"
reg_file | import_reg leftovers
bootstrapper_file de-DE | import_reg bootstrapper-de
check "setup: bootstrapper entry in the 32-bit view" value_is "$uninstall32\\$REMEDOR_BOOTSTRAPPER_CODE" PeldaLanguage de-DE
check "setup: settings keys in the 32-bit view" present "$settings32" de-DE
removal_run A "DEU FRA JPN" "DEU=0 FRA=0 JPN=0 suite=0"

ticked_a=(DEU FRA JPN)
for language in "${ticked_a[@]}" suite; do
    check "A: $language uninstalled (entry, Installer\\Products, file)" uninstalled "$language"
done
for language in "${ticked_a[@]}"; do
    locale=$(locale_tag "$language")
    check "A: per-machine settings $locale deleted" gone "$settings32" "$locale"
    check "A: per-user settings $locale deleted" gone "$user_settings" "$locale"
done
check "A: bootstrapper entry deleted" gone "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE"
for entry in "${REMEDOR_EDITIONS[@]}"; do
    read -r language locale code <<<"$entry"
    [[ " ${ticked_a[*]} " == *" $language "* ]] && continue
    check "A: unticked $language still installed" installed "$language"
    check "A: unticked $locale settings kept, with subkey and value" \
        key_exists "$settings32\\$locale\\Recent"
    check "A: unticked $locale per-user settings kept" key_exists "$user_settings\\$locale\\Recent"
done
check "A: settings parent kept with its value" value_is "$settings32" InstallDir 'C:\\Program Files \(x86\)\\PELDA\+ 2015'
check "A: decoy xx-XX kept (machine)" present "$settings32" xx-XX
check "A: decoy xx-XX kept (user)" present "$user_settings" xx-XX
check "A: 64-bit HKLM\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE kept" value_is "$settings64\\de-DE" Theme 0x4
check "A: 64-bit uninstall entry of DEU kept" value_is "$uninstall64\\$(product_code DEU)" DisplayName "64-bit entry"
check "A: unrelated Installer\\Products key kept" present "$products" "$unrelated_product"
check "A: no 32-bit copy of HKCR\\Installer made" \
    key_absent 'HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node\Installer'

# Scenario B: registrations left behind by packages that are gone, spelt exactly or not.
say "scenario B: stale registrations"
fra=$(product_code FRA)
{
    printf 'Windows Registry Editor Version 5.00\r\n'
    printf '\r\n[%s\\%s]\r\n"DisplayName"="PELDA+ 2015 DEU"\r\n' "$uninstall32" "$(product_code DEU)"
    printf '\r\n[%s\\%s\\SourceList]\r\n"PackageName"="DEU.msi"\r\n' "$products" "$(packed_code "$(product_code DEU)")"
    printf '\r\n[%s\\de-DE\\Recent]\r\n"1"="C:\\\\DEU.pel"\r\n' "$settings32"
    printf '\r\n[%s\\de-DE]\r\n"Theme"=dword:00000001\r\n' "$user_settings"
    # FRA: only other spellings of its names, which must stay.
    printf '\r\n[%s\\%s]\r\n"DisplayName"="lower case"\r\n' "$uninstall32" "${fra,,}"
    printf '\r\n[%s\\%s]\r\n"ProductName"="lower case"\r\n' "$products" "$(packed_code "$fra" | tr 'A-F' 'a-f')"
    printf '\r\n[%s\\FR-fr]\r\n"Theme"=dword:00000001\r\n' "$settings32"
    printf '\r\n[%s\\fr-fr]\r\n"Theme"=dword:00000001\r\n' "$user_settings"
} | import_reg stale
# Windows Installer finds both products by their Installer\Products keys (the registry ignores
# letter case) but cannot remove them: a failure (exit code 1610 on Wine). The clean-up runs all
# the same.
removal_run B "DEU FRA" "DEU=failed FRA=failed"
check "B: stale DEU uninstall entry deleted" gone "$uninstall32" "$(product_code DEU)"
check "B: stale DEU Installer\\Products key deleted" gone "$products" "$(packed_code "$(product_code DEU)")"
check "B: stale de-DE settings deleted (machine)" gone "$settings32" de-DE
check "B: stale de-DE settings deleted (user)" gone "$user_settings" de-DE
check "B: lower-case FRA uninstall entry kept" present "$uninstall32" "${fra,,}"
check "B: lower-case FRA Installer\\Products key kept" present "$products" "$(packed_code "$fra" | tr 'A-F' 'a-f')"
check "B: FR-fr settings kept (machine)" present "$settings32" FR-fr
check "B: fr-fr settings kept (user)" present "$user_settings" fr-fr
check "B: 64-bit settings de-DE still kept" value_is "$settings64\\de-DE" Theme 0x4
check "B: 64-bit uninstall entry of DEU still kept" value_is "$uninstall64\\$(product_code DEU)" DisplayName "64-bit entry"
check "B: no bootstrapper entry, so the suite was not run again" gone "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE"

# Scenario C: no DAWLIX keys at all in the 32-bit view or for the user; a bootstrapper whose
# language is not ticked, so the suite stays.
say "scenario C: no settings keys anywhere"
wine reg delete 'HKEY_CURRENT_USER\SOFTWARE\DAWLIX' /f >/dev/null 2>&1
wine reg delete "$hklm32\\DAWLIX" /f >/dev/null 2>&1
install_package suite || fail "msiexec /i suite.msi (again)"
bootstrapper_file ko-KR | import_reg bootstrapper-ko
check "C setup: no HKCU\\SOFTWARE\\DAWLIX" key_absent 'HKEY_CURRENT_USER\SOFTWARE\DAWLIX'
check "C setup: no HKLM\\SOFTWARE\\WOW6432Node\\DAWLIX" key_absent "$hklm32\\DAWLIX"
check "C setup: suite installed again" installed suite
removal_run C "CHS ENU" "CHS=0 ENU=0"
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

# --- 5. the bundle starts -----------------------------------------------------------------
say "starting the bundle's remedor.exe"
# The wizard's title is translated when the bundle holds a translation.
title='"Remedor Wizard"'
[[ -n $bundle_language ]] && title='"[^"]+"'
window=""
# In a Wine desktop window, which draws the title bar with the program's icon.
(cd "$build/bundle" && exec wine explorer /desktop=remedor,900x600 remedor.exe >"$logs/bundle.txt" 2>&1) &
bundle_pid=$!
for _ in $(seq 60); do
    window=$(xwininfo -root -tree 2>/dev/null | grep -a -E "^ +0x[0-9a-f]+ $title: \(\"remedor.exe\" \"remedor.exe\"\)" \
        | grep -v '"Default IME"' || true)
    [[ -n $window ]] && break
    sleep 1
done
check "bundle: remedor.exe opens its wizard window${window:+ (${window#*0x* })}" test -n "$window"
if [[ -n $window ]]; then
    sleep 3 # let it paint
    desktop=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "remedor - Wine desktop".*/\1/p' | head -n1)
    if [[ -x /usr/bin/import && -n $desktop ]]; then
        /usr/bin/import -window "$desktop" -display "$DISPLAY" "$run/remedor-wine.png" 2>/dev/null \
            && say "  screenshot: $run/remedor-wine.png"
    fi
fi
wineserver -k >/dev/null 2>&1
wait "$bundle_pid" 2>/dev/null

# --- summary ------------------------------------------------------------------------------
echo
echo "test-windows: ${#passed[@]} checks passed, ${#failed[@]} failed, in $(($(date +%s) - started)) s"
if ((${#failed[@]})); then
    printf '  FAILED: %s\n' "${failed[@]}"
    exit 1
fi
echo "test-windows: all passed (the list: $logs/checks.txt)"
