#!/usr/bin/env bash
# The bundle scripts/build-windows.sh stages in BUILD/bundle and zips into remedor-bundle.zip:
#
#   check-bundle.sh files BUILD     the bundle and the zip hold exactly the files of
#                                   bundle-files.txt (and the chosen translation); the notices
#                                   carry the licences of Qt and of the GCC run time
#   check-bundle.sh program BUILD   the bundle's remedor.exe and remedor-cli.exe are those of
#                                   BUILD, but for an Authenticode signature they may carry
#   check-bundle.sh starts BUILD    under Wine (WINEPREFIX) on the X display DISPLAY, the bundle's
#                                   remedor.exe turns window ghosting off and opens its wizard
#                                   window; a screenshot is kept when ImageMagick's import is there;
#                                   remedor-cli --version names Qt's version and the notices
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check.sh
source "$here/check.sh"

step=${1:?usage: check-bundle.sh files|program|starts BUILD}
build=${2:?the Windows build folder}
bundle=$build/bundle
[[ -f $bundle/remedor.exe ]] || {
    echo "$bundle/remedor.exe is missing: run scripts/build-windows.sh" >&2
    exit 1
}
language=$(sed -n 's/^REMEDOR_LANGUAGE:STRING=//p' "$build/CMakeCache.txt")

expected_files() {
    grep -v -e '^#' -e '^$' "$here/bundle-files.txt"
    [[ -z $language ]] || echo "remedor_$language.qm"
}

files() {
    local expected
    expected=$(expected_files | LC_ALL=C sort)
    check "bundle: exactly the two programs and the notices${language:+ and remedor_$language.qm}" \
        test "$(cd "$bundle" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)" = "$expected"
    check "remedor-bundle.zip: holds the bundle" \
        test "$(cmake -E tar tf "$build/remedor-bundle.zip" | grep -v '/$' | sed 's|^bundle/||' | LC_ALL=C sort)" = "$expected"
    check "THIRD-PARTY-NOTICES.txt: Qt with the LGPL-3.0's text" \
        notices_hold '^  Qt 6\.[0-9.]* (.*): LGPL-3.0-only' 'GNU LESSER GENERAL PUBLIC LICENSE'
    check "THIRD-PARTY-NOTICES.txt: the GCC run time with its Runtime Library Exception" \
        notices_hold 'GCC RUNTIME LIBRARY EXCEPTION'
}

# notices_hold PATTERN...: the bundle's notices hold a line matching each pattern.
notices_hold() {
    local pattern
    for pattern in "$@"; do
        grep -q -- "$pattern" "$bundle/THIRD-PARTY-NOTICES.txt" || return 1
    done
}

# Signing adds the signature's table and changes two header fields: the checksum and the
# entry that points at the table. Everything else must stay.
pe_dump() { x86_64-w64-mingw32-objdump "$@" | tail -n +3; }
signed() { pe_dump -p "$1" | grep -E '^Entry 4 [0-9a-f]+ [0-9a-f]*[1-9a-f][0-9a-f]* Security Directory' >/dev/null; }
same_unsigned() {
    diff <(pe_dump -p "$1" | grep -v -e '^CheckSum' -e 'Security Directory$') \
        <(pe_dump -p "$2" | grep -v -e '^CheckSum' -e 'Security Directory$') \
        && diff <(pe_dump -s "$1") <(pe_dump -s "$2") >/dev/null
}

program() {
    local name
    for name in remedor.exe remedor-cli.exe; do
        if signed "$bundle/$name"; then
            check "bundle: $name is the one built (signed: same headers and sections)" \
                same_unsigned "$bundle/$name" "$build/$name"
        else
            check "bundle: $name is the one built" cmp "$bundle/$name" "$build/$name"
        fi
    done
}

# The wizard's window, as xwininfo lists it: its title is translated when the bundle holds a
# translation.
wizard_window() {
    local title='"Remedor Wizard"'
    [[ -z $language ]] || title='"[^"]+"'
    xwininfo -root -tree 2>/dev/null | grep -a -E "^ +0x[0-9a-f]+ $title: \(\"remedor.exe\" \"remedor.exe\"\)" \
        | grep -v '"Default IME"' || true
}

screenshot() {
    local desktop
    desktop=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "remedor - Wine desktop".*/\1/p' | head -n1)
    [[ -x /usr/bin/import && -n $desktop ]] || return 0
    sleep 3 # let it paint
    /usr/bin/import -window "$desktop" -display "$DISPLAY" "$PWD/remedor-wine.png" 2>/dev/null \
        && echo "screenshot: $PWD/remedor-wine.png"
}

starts() {
    local window="" pid log=$PWD/bundle-wine.log
    : "${DISPLAY:?the bundle needs an X display}"
    # The real platform plug-in, the only one the bundle ships; in a Wine desktop window, which
    # draws the title bar with the program's icon.
    # Wine's channel of window fixmes shows the call that turns window ghosting off: Wine has no
    # ghosting and answers it with a "stub" line.
    (cd "$bundle" && exec env -u QT_QPA_PLATFORM -u WINEQT_QPA_PLATFORM WINEDEBUG=fixme+win \
        wine explorer /desktop=remedor,900x600 remedor.exe </dev/null >/dev/null 2>"$log") &
    pid=$!
    for _ in $(seq 60); do
        window=$(wizard_window)
        [[ -n $window ]] && break
        sleep 1
    done
    [[ -z $window ]] || screenshot
    end_wizard "$pid"
    check "bundle: remedor.exe opens its wizard window${window:+ (${window#*0x* })}" test -n "$window"
    check "bundle: remedor.exe turned window ghosting off" \
        grep -aq 'DisableProcessWindowsGhosting' "$log"
    local version
    version=$(cd "$bundle" && wine ./remedor-cli.exe --version 2>/dev/null | tr -d '\r')
    check "bundle: remedor-cli --version names Qt's version and THIRD-PARTY-NOTICES.txt" \
        grep -qE '^Qt 6\.[0-9]+\.[0-9]+; .*THIRD-PARTY-NOTICES\.txt$' <<<"$version"
}

case $step in
    files) files ;;
    program) program ;;
    starts) starts ;;
    *) echo "check-bundle.sh: unknown step $step" >&2; exit 2 ;;
esac
