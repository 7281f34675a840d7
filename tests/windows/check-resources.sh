#!/usr/bin/env bash
# The Windows resources of remedor.exe, read with wrestool and icotool (icoutils):
#
#   check-resources.sh list EXE RESOURCES       icon group IDI_ICON1, six icon images, the
#                                               manifest, in language 1033, nothing else
#   check-resources.sh icon EXE RESOURCES       IDI_ICON1 holds the images of remedor.ico
#   check-resources.sh manifest EXE RESOURCES   the manifest is remedor.manifest, asking for
#                                               elevation and nothing more
#
# RESOURCES is the source's Resources folder. The first failed check ends the group.
set -euo pipefail

# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

group=${1:?usage: check-resources.sh list|icon|manifest EXE RESOURCES}
exe=${2:?the program}
sources=${3:?the Resources folder}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

resources=""
count() { grep -c -- "$1" <<<"$resources" || true; }
count_type() { count "--type=$1 "; }

resource_list() {
    resources=$(wrestool -l "$exe")
    echo "$resources"
    check "resources: one icon group, named IDI_ICON1" \
        test "$(count_type 14)" = 1 -a "$(count "--type=14 --name='IDI_ICON1' --language=1033 ")" = 1
    check "resources: six icon images" test "$(count_type 3)" = 6
    check "resources: one manifest, id 1" \
        test "$(count_type 24)" = 1 -a "$(count '--type=24 --name=1 --language=1033 ')" = 1
    check "resources: everything in language 1033" test "$(count '--language=1033 ')" = "$(count '--type=')"
    check "resources: nothing but icons, icon group and manifest" \
        test -z "$(grep -- '--type=' <<<"$resources" | grep -v -e '--type=3 ' -e '--type=14 ' -e '--type=24 ')"
    check "resources: no version resource" test "$(count_type 16)" = 0
}

# The images of an icon file, decoded, with their checksums.
icon_images() { (cd "$(dirname "$1")" && icotool -x "$(basename "$1")" && md5sum -- *.png); }

icon() {
    local sizes
    mkdir "$scratch/built" "$scratch/source"
    wrestool -x -t 14 -n IDI_ICON1 -o "$scratch/built/icon.ico" "$exe"
    cp "$sources/remedor.ico" "$scratch/source/icon.ico"
    sizes=$(icotool -l "$scratch/built/icon.ico" \
        | sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\) --bit-depth=32.*/\1x\2/p' | tr '\n' ' ')
    check "IDI_ICON1: 256, 96, 48, 32, 24 and 16 pixels, 32-bit (found: $sizes)" \
        test "$sizes" = "256x256 96x96 48x48 32x32 24x24 16x16 "
    check "IDI_ICON1: the images of Resources/remedor.ico" \
        test "$(icon_images "$scratch/built/icon.ico")" = "$(icon_images "$scratch/source/icon.ico")" -a \
        "$(icon_images "$scratch/built/icon.ico" | wc -l)" = 6
}

manifest() {
    local text=$scratch/manifest.xml
    wrestool -x --raw -t 24 -n 1 -o "$text" "$exe"
    check "manifest: the text of Resources/remedor.manifest" cmp "$text" "$sources/remedor.manifest"
    check "manifest: requireAdministrator, uiAccess false" \
        grep -q '<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>' "$text"
    check "manifest: only trustInfo (no dependency, compatibility or DPI settings)" \
        test "$(grep -oE '<[A-Za-z][A-Za-z0-9:]*' "$text" | LC_ALL=C sort | tr '\n' ' ')" = \
        "<assembly <requestedExecutionLevel <requestedPrivileges <security <trustInfo "
}

case $group in
    list) resource_list ;;
    icon) icon ;;
    manifest) manifest ;;
    *) echo "check-resources.sh: unknown group $group" >&2; exit 2 ;;
esac
