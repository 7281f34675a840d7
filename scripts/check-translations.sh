#!/usr/bin/env bash
# Fails when the translation files and the source texts have drifted apart: a source text
# missing from a .ts file, an unfinished translation, or an entry whose source text is gone.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/install-deps.sh" qt6-l10n-tools qt6-tools-dev-tools
lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || lupdate=$(command -v lupdate)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$repo"/translations/*.ts "$work/"
"$lupdate" -silent -locations none -no-ui-lines \
    "$repo/app" "$repo/catalogue" "$repo/wizard" "$repo/registry" "$repo/removal" -ts "$work"/*.ts

status=0
for ts in "$work"/*.ts; do
    name=$(basename "$ts")
    problems=$(grep -cE 'type="(unfinished|vanished|obsolete)"' "$ts" || true)
    if [ "$problems" -ne 0 ]; then
        echo "$name: $problems entries missing, unfinished or obsolete:"
        grep -B3 -E 'type="(unfinished|vanished|obsolete)"' "$ts" | grep '<source>' | sed 's/^ */    /'
        status=1
    fi
    if ! diff -q "$repo/translations/$name" "$ts" >/dev/null; then
        echo "$name: differs from what lupdate writes (run: cmake --build build --target remedor_wizard_lupdate)"
        status=1
    fi
done
[ $status -eq 0 ] && echo "Translations: all $(ls "$work"/*.ts | wc -l) files match the source texts."
exit $status
