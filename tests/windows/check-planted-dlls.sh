#!/usr/bin/env bash
# No DLL from the program's folder: a bundle's programs load no DLL planted beside them.
#
#   1. A copy of the bundle runs once as it is, under Wine with its loader tracing (+loaddll):
#      the wizard up to its first page, and `remedor-cli list`. Every DLL name the programs
#      import (delay-loaded ones included) or name in their data, and every DLL loaded in those
#      runs, is noted.
#   2. The marker DLL (markerdll.cpp) is planted beside the programs under each of those names
#      but the bundle's own files, the KnownDLLs and the API sets, WINEDLLOVERRIDES asks Wine to prefer a native DLL of each
#      name, and both programs run again. The wizard must show its first page, remedor-cli list
#      must succeed, and no marker file may appear.
#   3. Each program's import table names only Windows' KnownDLLs (known-dlls.txt) and API sets
#      (api-ms-win-*, which Windows resolves without looking for a file), and the bundle holds no
#      DLL.
#   4. The marker, which also carries the metadata of a Qt platform plug-in for the key "windows",
#      lies in a folder of its own and in its platforms\ subfolder; the programs run with Qt
#      pointed at that folder: by -platformpluginpath on the wizard's command line with
#      QT_QPA_PLATFORM_PLUGIN_PATH in the environment, then by a qt.conf beside them. Qt must
#      load nothing from there, and the wizard must still show its first page.
#
# Usage: check-planted-dlls.sh BUNDLE MARKER_DLL WORK_FOLDER
#   under Wine (WINEPREFIX) on the X display DISPLAY. The bundle itself is left untouched.
# Says each check as it passes; the first that fails ends the script, naming it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check.sh
source "$here/check.sh"

bundle=$(cd "${1:?usage: check-planted-dlls.sh BUNDLE MARKER_DLL WORK_FOLDER}" && pwd)
marker=${2:?the marker DLL}
work=${3:?a work folder}
: "${DISPLAY:?the wizard needs an X display}"
rm -rf "$work"
mkdir -p "$work"
copy=$work/bundle
cp -r "$bundle" "$copy"

lower() { tr '[:upper:]' '[:lower:]'; }
words() { tr '\n' ' ' <<<"$1" | sed 's/ *$//'; }
known=$(grep -v -e '^#' -e '^$' "$here/known-dlls.txt" | lower | sort -u)
# imports FILE: the DLLs its import table names, lower case.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | lower | sort -u; }
# named FILE: the DLL names its data holds: those it delay-loads, and those Qt inside it passes to
# LoadLibrary.
named() { { strings -n 5 "$1"; strings -n 5 -e l "$1"; } | grep -iE '^[a-z0-9_-]+\.dll$' | lower | sort -u; }
bundle_files=$(cd "$copy" && find . -type f -printf '%f\n' | lower | sort -u)
pe_files=()
while IFS= read -r -d '' file; do pe_files+=("$file"); done \
    < <(find "$copy" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0 | LC_ALL=C sort -z)

# --- running both programs ----------------------------------------------------------------------
# run NAME [ARGUMENT...]: the wizard with the arguments until its first page shows, then
# remedor-cli list, in the copy, with the environment of the caller; Wine's output goes to
# $work/NAME-*.log. Sets wizard_shown and list_status.
run() {
    local name=$1 pid
    shift
    (cd "$copy" && exec env -u QT_QPA_PLATFORM -u WINEQT_QPA_PLATFORM wine ./remedor.exe "$@" \
        </dev/null >/dev/null 2>"$work/$name-wizard.log") &
    pid=$!
    wizard_shown=""
    for _ in $(seq 60); do
        wizard_shown=$(wizard_window)
        [[ -n $wizard_shown ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 1
    done
    end_wizard "$pid"
    # A program that fails on a planted DLL may hang in Wine's crash dialog: bounded.
    list_status=0
    (cd "$copy" && exec timeout 60 wine ./remedor-cli.exe list) </dev/null >"$work/$name-list.txt" \
        2>"$work/$name-list.log" || list_status=$?
    wine taskkill /f /im remedor-cli.exe >/dev/null 2>&1 || true
}

# --- 1. what the programs load ---------------------------------------------------------------
WINEDEBUG=-all,+loaddll run discovery
check "as shipped: the wizard shows its first page" test -n "$wizard_shown"
check "as shipped: remedor-cli list succeeds" test "$list_status" = 0
loaded=$(cat "$work"/discovery-*.log | tr -d '\r' | sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' \
    | sed 's/.*\\//' | lower | grep -E '\.dll$' | sort -u)
all_names=$({ echo "$loaded"; for file in "${pe_files[@]}"; do imports "$file"; named "$file"; done; } \
    | grep -v '^$' | sort -u)
check "the programs load at least kernel32.dll, user32.dll and uxtheme.dll" \
    test "$(grep -c -x -e kernel32.dll -e user32.dll -e uxtheme.dll <<<"$all_names")" = 3
# Never from the program's folder, whatever the program does: the KnownDLLs with every DLL they
# import, transitively (Windows keeps that whole set in its \KnownDlls directory; here it is
# taken from the system folder's own DLLs), and the API sets, which name no file.
system32=${WINEPREFIX:?}/drive_c/windows/system32
known_set=$known
queue=$known
while [[ -n $queue ]]; do
    next=""
    for name in $queue; do
        [[ -f $system32/$name ]] || continue
        for dependency in $(imports "$system32/$name"); do
            grep -qxF "$dependency" <<<"$known_set" || { known_set+=$'\n'$dependency; next+=" $dependency"; }
        done
    done
    queue=$next
done
known_set=$(sort -u <<<"$known_set")
names=$(comm -23 <(echo "$all_names") <(echo "$bundle_files") | comm -23 - <(echo "$known_set") \
    | grep -v '^api-ms-win-' || true)
echo "not planted (KnownDLLs, API sets, the bundle's own): $(words "$(comm -23 <(echo "$all_names") <(echo "$names"))")"
echo "planted: $(words "$names")"

# --- 2. planted ---------------------------------------------------------------------------------
for name in $names; do
    cp "$marker" "$copy/$name"
done
overrides="mscoree,mshtml=;$(words "$names" | sed 's/\.dll\b//g; s/ /,/g')=n,b"
WINEDLLOVERRIDES=$overrides run planted
# A marker says who asked for its DLL (markerdll.cpp). The program's code, or the loader
# resolving a bundle file's own imports, is a fault. Wine's own DLLs, loading what they use
# for themselves before or beside the program's code (where Windows would take its KnownDLLs
# and their dependencies), are not the programs' doing: they are listed, not counted.
direct_imports=$(for file in "${pe_files[@]}"; do imports "$file"; done | sort -u)
markers=""
for found in "$copy"/*.loaded; do
    [[ -e $found ]] || continue
    name=$(basename "$found" .loaded | lower)
    if grep -qx program "$found" || { grep -qx start-up "$found" && grep -qxF "$name" <<<"$direct_imports"; }; then
        markers+=" $name"
    else
        echo "loaded by Wine's own DLLs, not by the programs: $name ($(sort -u "$found" | tr '\n' ' '))"
    fi
done
check "planted: no planted DLL was loaded${markers:+ (loaded:$markers)}" test -z "$markers"
check "planted: the wizard shows its first page" test -n "$wizard_shown"
check "planted: remedor-cli list succeeds" test "$list_status" = 0

# --- 3. the import tables ----------------------------------------------------------------------
for program in "$bundle"/*.exe; do
    others=$(comm -23 <(imports "$program") <(echo "$known") | grep -v '^api-ms-win-' || true)
    check "$(basename "$program"): imports only KnownDLLs${others:+ (also: $(words "$others"))}" test -z "$others"
done
dlls=$(cd "$bundle" && find . -type f -iname '*.dll' | sed 's|^\./||')
check "bundle: holds no DLL${dlls:+ (holds: $(words "$dlls"))}" test -z "$dlls"

# --- 4. Qt pointed at a folder of plug-ins ----------------------------------------------------
rm -rf "$copy"
cp -r "$bundle" "$copy"
plugins=$work/plugins
mkdir -p "$plugins/platforms"
cp "$marker" "$plugins/qmarker.dll"
cp "$marker" "$plugins/platforms/qmarker.dll"
plugins_windows="Z:${plugins//\//\\}"
# Wine hands WINEQT_* on to Windows programs under the bare name.
WINEQT_QPA_PLATFORM_PLUGIN_PATH=$plugins_windows run plugin-path -platformpluginpath "$plugins_windows"
loaded=$(cd "$plugins" && find . -name '*.loaded' -printf '%P ')
check "-platformpluginpath and QT_QPA_PLATFORM_PLUGIN_PATH: nothing loaded from there${loaded:+ (loaded: $loaded)}" \
    test -z "$loaded"
check "-platformpluginpath: the wizard shows its first page" test -n "$wizard_shown"
check "QT_QPA_PLATFORM_PLUGIN_PATH: remedor-cli list succeeds" test "$list_status" = 0
printf '[Paths]\r\nPrefix=%s\r\nPlugins=%s\r\n' "$plugins_windows" "$plugins_windows" >"$copy/qt.conf"
cp "$copy/qt.conf" "$copy/qt6.conf"
run qt-conf
loaded=$(cd "$plugins" && find . -name '*.loaded' -printf '%P ')
check "a qt.conf beside the programs: nothing loaded from the folder it names${loaded:+ (loaded: $loaded)}" \
    test -z "$loaded"
check "a qt.conf beside the programs: the wizard shows its first page" test -n "$wizard_shown"
check "a qt.conf beside the programs: remedor-cli list succeeds" test "$list_status" = 0
