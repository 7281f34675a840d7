#!/usr/bin/env bash
# Checks remedor-cli.exe under Wine, against Wine's registry and Windows Installer with the
# sixteen test packages of make-test-packages.sh:
#
#   - list and list --json before and after a removal;
#   - a dry run and a usage error change nothing;
#   - while the wizard is open, remove exits 1618 and changes nothing;
#   - remove DEU exits 0 and removes exactly what the wizard removes (DEU, then the suite and
#     the bootstrapper's entry, as the bootstrapper records de-DE), and nothing else;
#   - each installer writes its own verbose log with --msi-log;
#   - a package whose installer fails gives 1603 and keeps its registrations; --force then
#     removes them; a product Windows Installer no longer knows gets no installer call, only
#     its leftovers go;
#   - --all-users reaches another account's loaded hive, never a _Classes hive or .DEFAULT;
#   - the output reaches files when cmd.exe redirects it, and the log gets every line;
#   - remove --backup writes a registry export whose `reg import` restores every removed key,
#     WOW6432Node and Installer\Products keys and every value type included.
#
# The program runs through cmd.exe, so that the exit codes read are the whole Windows ones.
#
# Usage: tests/windows/check-cli.sh BIN_FOLDER MSI_FOLDER [WORK_FOLDER]
#   BIN_FOLDER   remedor-cli.exe with its DLLs
#   MSI_FOLDER   the packages (<LANG>.msi, suite.msi)
#   WORK_FOLDER  where its outputs and logs go (default: a new temporary folder)
# Environment: WINEPREFIX, a prefix made with wineboot; its Wine server is left running (ctest's
# fixture ends it; by hand, run `wineserver -k` afterwards).
# The script sets up the machine state it needs itself: it uninstalls and reinstalls the
# packages and rewrites the product's keys.
# Says each check as it passes; the first that fails ends the script, naming it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=editions.sh
source "$here/editions.sh"

bin=$(cd "${1:?usage: check-cli.sh BIN_FOLDER MSI_FOLDER [WORK_FOLDER]}" && pwd)
msi=$(cd "${2:?usage: check-cli.sh BIN_FOLDER MSI_FOLDER [WORK_FOLDER]}" && pwd)
work=${3:-$(mktemp -d)}
mkdir -p "$work"
work=$(cd "$work" && pwd)
: "${WINEPREFIX:?WINEPREFIX must name a prepared Wine prefix}"
export WINEDEBUG=${WINEDEBUG:--all}
[[ -f $bin/remedor-cli.exe ]] || {
    echo "check-cli: no remedor-cli.exe in $bin" >&2
    exit 1
}

say() { echo "check-cli: $*"; }

# remedor-cli runs from the folder this script was started in: under ctest that folder holds a
# decoy msiexec.exe that must never run. The script's own calls of Windows Installer run from
# the packages' folder, where a bare "msiexec" is the system's.
launch_folder=$PWD
own_msiexec() { (cd "$msi" && wine msiexec "$@" >>"$work/msiexec.txt" 2>&1) || true; }

# Keys below HKEY_USERS other than the prefix's own user hive live only in the Wine server's
# memory: it is kept running through the checks (when one is running already, as under ctest's
# fixture, it stays, and this start is refused).
wineserver -p </dev/null >/dev/null 2>&1 || true
# shellcheck source=check.sh
source "$here/check.sh"

windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

hklm32='HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node'
uninstall32="$hklm32\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
settings32="$hklm32\\DAWLIX\\PELDA\\2015"
user_settings='HKEY_CURRENT_USER\SOFTWARE\DAWLIX\PELDA\2015'
products='HKEY_CLASSES_ROOT\Installer\Products'
other_user='HKEY_USERS\S-1-5-21-1111111111-2222222222-3333333333-1001'
program_files="$WINEPREFIX/drive_c/Program Files (x86)/PELDA+ 2015"

# --- the program, through cmd.exe --------------------------------------------------------
# cli NAME ARGUMENT...: runs remedor-cli.exe with its output redirected by cmd.exe to
# NAME.out and NAME.err in the work folder; sets $status to its exit code.
cli() {
    local name=$1
    shift
    local out=$work/$name.out err=$work/$name.err code=$work/$name.code
    rm -f "$out" "$err" "$code"
    printf '@echo off\r\n"%s" %%* >"%s" 2>"%s"\r\necho %%ERRORLEVEL%%>"%s"\r\n' \
        "$(windows_path "$bin/remedor-cli.exe")" "$(windows_path "$out")" \
        "$(windows_path "$err")" "$(windows_path "$code")" >"$work/$name.bat"
    (cd "$launch_folder" && timeout 600 wine cmd /c "$(windows_path "$work/$name.bat")" "$@" \
        >>"$work/wine.txt" 2>&1) || true
    status=$(tr -d '\r\n ' <"$code" 2>/dev/null || echo "none")
}
output() { tr -d '\r' <"$work/$1.out"; }
printed() { output "$1" | grep -qF -- "$2"; } # printed NAME TEXT
not_printed() { ! printed "$@"; }

# The listing's field for an edition code ("" for the suite), as JSON spells it.
json_field() { # json_field NAME CODE FIELD
    python3 - "$work/$1.out" "$2" "$3" <<'PY'
import json, sys
listing = json.load(open(sys.argv[1], encoding="utf-8-sig"))
entry = [e for e in listing["editions"] if e["code"] == sys.argv[2]]
print(json.dumps(entry[0][sys.argv[3]]) if len(entry) == 1 else "missing")
PY
}
bootstrapper_field() { # bootstrapper_field NAME FIELD
    python3 -c 'import json, sys; print(json.dumps(json.load(open(sys.argv[1], encoding="utf-8-sig"))["bootstrapper"][sys.argv[2]]))' \
        "$work/$1.out" "$2"
}
listed() { test "$(json_field "$1" "$2" "$3")" = "$4"; } # listed NAME CODE FIELD VALUE

# --- the registry, from outside ----------------------------------------------------------
# The subkey names of a key as the registry spells them, one a line; nothing when it is missing.
children() {
    { wine reg query "$1" 2>/dev/null || true; } | tr -d '\r' | { grep -a '^HKEY_' || true; } \
        | awk -v depth="$(($(tr -cd '\\' <<<"$1" | wc -c) + 1))" -F'\\' 'NF == depth + 1 { print $NF }'
}
# A key that should be there is looked for twice: one run in about six here found an installed
# package's uninstall entry missing, and the cause was not found (Wine's reg query is the
# suspect); a key that is really gone stays gone, so the check still fails on it.
present() { children "$1" | grep -qxF -- "$2" || { sleep 1 && children "$1" | grep -qxF -- "$2"; }; }
gone() { ! children "$1" | grep -qixF -- "$2"; }
# Every key the product's run could touch, one "parent\child" a line, sorted.
snapshot() {
    local parent
    for parent in "$uninstall32" "$products" "$settings32" "$user_settings" \
        "$other_user\\SOFTWARE\\DAWLIX\\PELDA\\2015" \
        "${other_user}_Classes\\SOFTWARE\\DAWLIX\\PELDA\\2015" \
        'HKEY_USERS\.DEFAULT\SOFTWARE\DAWLIX\PELDA\2015'; do
        children "$parent" | while IFS= read -r child; do printf '%s\\%s\n' "$parent" "$child"; done
    done | LC_ALL=C sort
}
removed_since() { LC_ALL=C comm -23 "$1" <(snapshot); }
added_since() { LC_ALL=C comm -13 "$1" <(snapshot); }

installed() { # installed LANGUAGE|suite: registrations and file all there; says what is missing
    local code folder missing=()
    code=$(product_code "$1")
    folder=$([[ $1 == suite ]] && echo Suite || echo "$1")
    present "$uninstall32" "$code" || missing+=("the uninstall entry")
    present "$products" "$(packed_code "$code")" || missing+=("the Installer\\Products key")
    [[ -f $program_files/$folder/readme.txt ]] || missing+=("the installed file")
    ((${#missing[@]} == 0)) || echo "$1: missing ${missing[*]}" >&2
    ((${#missing[@]} == 0))
}
uninstalled() {
    local code folder
    code=$(product_code "$1")
    folder=$([[ $1 == suite ]] && echo Suite || echo "$1")
    gone "$uninstall32" "$code" && gone "$products" "$(packed_code "$code")" \
        && [[ ! -e $program_files/$folder/readme.txt ]]
}

import_reg() { # import_reg NAME < content
    cat >"$work/$1.reg"
    wine reg import "$(windows_path "$work/$1.reg")" >>"$work/reg-import.txt" 2>&1 \
        || check "reg import $1.reg" false
}
# The settings every edition leaves, per machine and per user, a decoy beside them, the
# bootstrapper recording de-DE, and settings in other accounts' hives.
leftovers() {
    local entry language locale code
    printf 'Windows Registry Editor Version 5.00\r\n'
    for entry in "${REMEDOR_EDITIONS[@]}"; do
        read -r language locale code <<<"$entry"
        printf '\r\n[%s\\%s\\Recent]\r\n"1"="C:\\\\%s.pel"\r\n' "$settings32" "$locale" "$language"
        printf '\r\n[%s\\%s]\r\n"Theme"=dword:00000001\r\n' "$user_settings" "$locale"
    done
    printf '\r\n[%s\\xx-XX]\r\n"Theme"=dword:00000003\r\n' "$settings32"
    printf '\r\n[%s\\%s]\r\n"DisplayName"="%s"\r\n"PeldaLanguage"="de-DE"\r\n' \
        "$uninstall32" "$REMEDOR_BOOTSTRAPPER_CODE" "$REMEDOR_SUITE_NAME"
}
# Settings in hives below HKEY_USERS, which Wine's reg import does not write.
other_hives=("$other_user" "${other_user}_Classes" 'HKEY_USERS\.DEFAULT')
add_other_hives() {
    local hive locale
    for hive in "${other_hives[@]}"; do
        for locale in de-DE ja-JP; do
            wine reg add "$hive\\SOFTWARE\\DAWLIX\\PELDA\\2015\\$locale" /v Theme /t REG_DWORD /d 1 /f \
                >>"$work/reg-import.txt" 2>&1 || check "reg add $hive\\…\\$locale" false
        done
    done
}

# --- the machine ---------------------------------------------------------------------------
say "setting up: the sixteen packages installed, leftovers and decoys (work folder $work)"
# Whatever ran in the prefix before: the packages go, then any registration left of them
# (the registry ignores letter case, so other spellings go too).
for entry in "${REMEDOR_EDITIONS[@]}" suite; do
    code=$(product_code "${entry%% *}")
    own_msiexec /x "$code" /qn
    wine reg delete "$uninstall32\\$code" /f >/dev/null 2>&1 || true
    wine reg delete "$products\\$(packed_code "$code")" /f >/dev/null 2>&1 || true
done
for key in "$hklm32\\DAWLIX" 'HKEY_CURRENT_USER\SOFTWARE\DAWLIX' "$uninstall32\\$REMEDOR_BOOTSTRAPPER_CODE" \
    "$other_user" "${other_user}_Classes" 'HKEY_USERS\.DEFAULT\SOFTWARE\DAWLIX'; do
    wine reg delete "$key" /f >/dev/null 2>&1 || true
done
for entry in "${REMEDOR_EDITIONS[@]}" suite; do
    (cd "$msi" && wine msiexec /i "${entry%% *}.msi" /qn >>"$work/msiexec.txt" 2>&1) \
        || check "msiexec /i ${entry%% *}.msi" false
done
leftovers | import_reg leftovers
add_other_hives
for entry in "${REMEDOR_EDITIONS[@]}" suite; do
    check "setup: ${entry%% *} installed" installed "${entry%% *}"
done
for hive in "${other_hives[@]}"; do
    check "setup: de-DE and ja-JP settings in $hive" \
        test "$(children "$hive\\SOFTWARE\\DAWLIX\\PELDA\\2015" | tr '\n' ' ')" = "de-DE ja-JP "
done

# --- list ----------------------------------------------------------------------------------
say "list before"
cli list list
check "list: exit code 0 (got $status)" test "$status" = 0
check "list: the table reaches the redirected file, a row per package" \
    test "$(output list | grep -c 'PELDA+ 2015')" = 16
check "list: the bootstrapper's entry and its language" \
    printed list "Bootstrapper entry: present, language de-DE"
cli list-json list --json
check "list --json: exit code 0 (got $status)" test "$status" = 0
for entry in "${REMEDOR_EDITIONS[@]}"; do
    language=${entry%% *}
    check "list --json before: $language installed, with its uninstall entry and settings" \
        test "$(json_field list-json "$language" installed) $(json_field list-json "$language" uninstallEntry) $(json_field list-json "$language" machineSettings) $(json_field list-json "$language" userSettings)" = "true true true true"
done
check "list --json before: the suite installed" listed list-json "" installed true
check "list --json before: bootstrapper present" test "$(bootstrapper_field list-json present)" = true
check "list --json before: bootstrapper language de-DE" \
    test "$(bootstrapper_field list-json language)" = '"de-DE"'

# --- nothing changes: a usage error, a dry run ---------------------------------------------
before=$work/before.txt
snapshot >"$before"
check "setup: the snapshot sees the keys" test "$(wc -l <"$before")" -gt 40

cli usage remove DEU XYZ
check "remove DEU XYZ: exit code 87 (got $status)" test "$status" = 87
check "remove DEU XYZ: names the bad code and the valid ones" \
    grep -qF '"XYZ". Valid codes: CHS CHT CSY DEU' "$work/usage.err"
cli dry-run remove deu --dry-run
check "remove --dry-run: exit code 0 (got $status)" test "$status" = 0
check "remove --dry-run: plans the installer of DEU" \
    printed dry-run "PELDA+ 2015 DEU: would run msiexec.exe /X$(product_code DEU) /quiet /passive /norestart KEEPUSERDATA=yes"
check "remove --dry-run: plans the bootstrapper's entry" \
    printed dry-run "would remove key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$REMEDOR_BOOTSTRAPPER_CODE"
check "usage error and dry run: no key removed" test -z "$(removed_since "$before")"
check "usage error and dry run: DEU still installed" installed DEU
check "usage error and dry run: the suite still installed" installed suite

# --- one run at a time ----------------------------------------------------------------------
# The bundle's wizard holds the machine's run lock from before its first page until it ends: a
# remove meanwhile exits 1618 at once and changes nothing; a dry run takes no lock.
say "remove DEU while the wizard is open"
(cd "$launch_folder" && exec wine "$bin/remedor.exe" </dev/null >/dev/null 2>"$work/wizard.log") &
wizard=$!
for _ in $(seq 60); do
    [[ -n $(wizard_window) ]] && break
    sleep 1
done
check "setup: the wizard shows its first page" test -n "$(wizard_window)"
cli busy remove DEU --report "$(windows_path "$work/busy.json")"
busy_status=$status
cli busy-dry-run remove DEU --dry-run
end_wizard "$wizard"
check "remove DEU while the wizard is open: exit code 1618 (got $busy_status)" test "$busy_status" = 1618
check "remove DEU while the wizard is open: the report says another run was in progress" \
    python3 -c 'import json, sys; sys.exit(json.load(open(sys.argv[1], encoding="utf-8-sig"))["ending"] != "busy")' \
    "$work/busy.json"
check "remove --dry-run while the wizard is open: exit code 0 (got $status)" test "$status" = 0
check "remove DEU while the wizard is open: no key removed" test -z "$(removed_since "$before")"
check "remove DEU while the wizard is open: DEU still installed" installed DEU

# --- remove DEU ----------------------------------------------------------------------------
say "remove DEU"
log=$work/remedor-cli.log
msi_logs="$work/installer logs"
rm -rf "$log" "$msi_logs"
cli remove-deu remove DEU --log "$(windows_path "$log")" --msi-log "$(windows_path "$msi_logs")"
check "remove DEU: exit code 0 (got $status)" test "$status" = 0
for package in DEU suite; do
    check "remove DEU --msi-log: Windows Installer wrote remedor-$package.log" \
        test -s "$msi_logs/remedor-$package.log"
done
check "remove DEU: DEU uninstalled" uninstalled DEU
check "remove DEU: the suite uninstalled" uninstalled suite
expected_removed=$(printf '%s\n' \
    "$uninstall32\\$(product_code DEU)" "$uninstall32\\$(product_code suite)" \
    "$uninstall32\\$REMEDOR_BOOTSTRAPPER_CODE" \
    "$products\\$(packed_code "$(product_code DEU)")" "$products\\$(packed_code "$(product_code suite)")" \
    "$settings32\\de-DE" "$user_settings\\de-DE" | LC_ALL=C sort)
check "remove DEU: exactly the wizard's keys removed" test "$(removed_since "$before")" = "$expected_removed"
check "remove DEU: no key added" test -z "$(added_since "$before")"
check "remove DEU: the output reaches the redirected file" \
    printed remove-deu "PELDA+ 2015 DEU: key removed: HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE"
check "remove DEU: the installer's outcome with its time" \
    grep -qE '^PELDA\+ 2015 DEU: installer succeeded \(exit code 0\) in [0-9]+\.[0-9]{3} s' \
    <(output remove-deu)
check "remove DEU: the log holds every printed line behind a timestamp" \
    test "$(tr -d '\r' <"$log" | sed -E 's/^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:.]{12}(Z|[+-][0-9]{2}:[0-9]{2}) //')" = "$(output remove-deu)"
check "remove DEU: the log ends with the exit code" \
    grep -qF "Finished with exit code 0: everything succeeded." "$log"

cli list-after list --json
check "list --json after: DEU neither installed nor registered" \
    test "$(json_field list-after DEU installed) $(json_field list-after DEU uninstallEntry) $(json_field list-after DEU machineSettings) $(json_field list-after DEU userSettings)" = "false false false false"
check "list --json after: the suite not installed" listed list-after "" installed false
check "list --json after: no bootstrapper entry" test "$(bootstrapper_field list-after present)" = false
check "list --json after: FRA still installed" listed list-after FRA installed true

# --- a failing package ---------------------------------------------------------------------
# FRA uninstalled behind the tool's back, its registrations put back: Windows Installer finds
# the product by them but cannot remove it, and fails.
say "a package whose installer fails"
own_msiexec /x "$(product_code FRA)" /qn
fra=$(product_code FRA)
printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\%s]\r\n"DisplayName"="PELDA+ 2015 FRA"\r\n\r\n[%s\\%s\\SourceList]\r\n"PackageName"="FRA.msi"\r\n' \
    "$uninstall32" "$fra" "$products" "$(packed_code "$fra")" | import_reg stale-fra
fra_keys() {
    present "$uninstall32" "$fra" && present "$products" "$(packed_code "$fra")" \
        && present "$settings32" fr-FR && present "$user_settings" fr-FR
}
check "setup: FRA's registrations without FRA" fra_keys
cli remove-fra remove FRA
check "remove FRA (installer fails): exit code 1603 (got $status)" test "$status" = 1603
check "remove FRA (installer fails): every registration kept" fra_keys
check "remove FRA (installer fails): says why they stay" \
    printed remove-fra "PELDA+ 2015 FRA: registrations kept, because the installer failed"
cli remove-fra-force remove FRA --force
check "remove FRA --force (installer fails): exit code 1603 (got $status)" test "$status" = 1603
check "remove FRA --force: uninstall entry removed" gone "$uninstall32" "$fra"
check "remove FRA --force: installer registration removed" gone "$products" "$(packed_code "$fra")"
check "remove FRA --force: machine settings removed" gone "$settings32" fr-FR
check "remove FRA --force: user settings removed" gone "$user_settings" fr-FR

# FRA is now unknown to Windows Installer: only its leftovers go, and no installer starts.
say "a product Windows Installer does not know"
wine reg add "$settings32\\fr-FR" /v Theme /t REG_DWORD /d 1 /f >>"$work/reg-import.txt" 2>&1
cli remove-fra-leftovers remove FRA
check "remove FRA (not installed): exit code 0 (got $status)" test "$status" = 0
check "remove FRA (not installed): says so" \
    printed remove-fra-leftovers "PELDA+ 2015 FRA: not installed: removing leftover keys"
check "remove FRA (not installed): no installer started" \
    not_printed remove-fra-leftovers "running msiexec.exe"
check "remove FRA (not installed): its machine settings removed" gone "$settings32" fr-FR

# --- all users -----------------------------------------------------------------------------
say "remove JPN --all-users"
check "remove DEU without --all-users: another account's de-DE kept" \
    present "$other_user\\SOFTWARE\\DAWLIX\\PELDA\\2015" de-DE
cli remove-jpn remove jpn --all-users
check "remove JPN --all-users: exit code 0 (got $status)" test "$status" = 0
check "remove JPN --all-users: JPN uninstalled" uninstalled JPN
check "remove JPN --all-users: the running account's ja-JP removed" gone "$user_settings" ja-JP
check "remove JPN --all-users: another account's ja-JP removed" \
    gone "$other_user\\SOFTWARE\\DAWLIX\\PELDA\\2015" ja-JP
check "remove JPN --all-users: its _Classes hive untouched" \
    present "${other_user}_Classes\\SOFTWARE\\DAWLIX\\PELDA\\2015" ja-JP
check "remove JPN --all-users: .DEFAULT untouched" \
    present 'HKEY_USERS\.DEFAULT\SOFTWARE\DAWLIX\PELDA\2015' ja-JP
check "remove JPN --all-users: another account's de-DE untouched" \
    present "$other_user\\SOFTWARE\\DAWLIX\\PELDA\\2015" de-DE
for language in CHS CHT CSY ENU ESN HUN ITA KOR PLK PTB RUS TRK; do
    check "at the end: $language still installed" installed "$language"
done
# --- undo: remove --backup, then reg import -----------------------------------------------
# PLK's registrations put back after it went behind the tool's back, as FRA's above, so that
# the forced run deletes its uninstall entry and Installer\Products key itself; ITA's settings
# get a value of every type and an empty key.
say "remove ITA PLK --force --backup, then reg import of the backup"
own_msiexec /x "$(product_code PLK)" /qn
plk=$(product_code PLK)
types="$settings32\\it-IT\\Types"
{
    printf '\xff\xfe'
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\%s]\r\n"DisplayName"="PELDA+ 2015 PLK"\r\n' \
            "$uninstall32" "$plk"
        printf '\r\n[%s\\%s\\SourceList]\r\n"PackageName"="PLK.msi"\r\n' "$products" "$(packed_code "$plk")"
        printf '\r\n[%s]\r\n@="default"\r\n"Quoted \\\\ \\"name\\""="C:\\\\a \\"b\\""\r\n' "$types"
        printf '"Expand"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\r\n"Number"=dword:fedcba98\r\n'
        printf '"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"Quad"=hex(b):01,02,03,04,05,06,07,08\r\n'
        printf '"Nothing"=hex(0):\r\n"Long"=hex:%s\r\n' "$(seq 0 99 | xargs printf '%02x,' | sed 's/,$//')"
        printf '\r\n[%s\\Empty]\r\n' "$types"
    } | iconv -f UTF-8 -t UTF-16LE
} | import_reg types
undo_keys=("$settings32\\it-IT" "$user_settings\\it-IT" "$settings32\\pl-PL" "$user_settings\\pl-PL"
           "$uninstall32\\$plk" "$products\\$(packed_code "$plk")")
# Each key as reg query /s shows it (NAME-query.txt) and as reg export writes it, every byte of
# every value, without the header and blank lines (NAME-export.txt).
export_keys() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | sed 1d | grep -v '^$'; }
query_undo_keys() {
    local key
    for key in "${undo_keys[@]}"; do
        wine reg query "$key" /s 2>&1 | tr -d '\r'
    done >"$work/$1-query.txt"
    for key in "${undo_keys[@]}"; do
        wine reg export "$key" "$(windows_path "$work/undo-key.reg")" /y >/dev/null 2>&1 \
            && export_keys "$work/undo-key.reg"
    done >"$work/$1-export.txt"
}
query_undo_keys undo-before
check "setup: every type in ITA's settings" \
    grep -qF '"Quad"=hex(b):01,02,03,04,05,06,07,08' "$work/undo-before-export.txt"
rm -f "$work/undo.reg"
cli undo remove ITA PLK --force --backup "$(windows_path "$work/undo.reg")"
check "remove ITA PLK --force --backup (PLK's installer fails): exit code 1603 (got $status)" \
    test "$status" = 1603
for key in "${undo_keys[@]}"; do
    check "remove --backup: $key removed" gone "${key%\\*}" "${key##*\\}"
done
check "remove --backup: a registry export in UTF-16" \
    test "$(head -c 2 "$work/undo.reg" | od -An -tx1 | tr -d ' ')" = fffe
check "remove --backup: the keys as reg export writes them, the 32-bit view's under WOW6432Node" \
    diff -u "$work/undo-before-export.txt" <(export_keys "$work/undo.reg")
wine reg import "$(windows_path "$work/undo.reg")" >>"$work/reg-import.txt" 2>&1 \
    || check "reg import of the backup" false
query_undo_keys undo-after
check "reg import of the backup: every removed key back as reg query /s showed it" \
    diff -u "$work/undo-before-query.txt" "$work/undo-after-query.txt"
check "reg import of the backup: every removed key back byte for byte (reg export)" \
    diff -u "$work/undo-before-export.txt" "$work/undo-after-export.txt"
say "all checks passed"
