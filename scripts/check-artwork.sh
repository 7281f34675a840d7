#!/usr/bin/env bash
# Checks the committed artwork: each file is byte for byte what scripts/render-artwork.sh
# makes of the sources in Resources/art/, and has the form the program and the Windows
# resources rely on (sizes, the @2x files at twice their originals', 8-bit RGBA, chunks, None
# and Sub row filters only, the icon's six 32-bit images with the largest stored as PNG).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

"$repo/scripts/render-artwork.sh" "$work" >/dev/null
for file in Resources/images/{logo,logo@2x,watermark,watermark@2x}.png Resources/remedor.ico; do
    if ! cmp -s "$repo/$file" "$work/$file"; then
        echo "FAIL: $file is not what scripts/render-artwork.sh renders from Resources/art/"
        failed=1
    fi
done

# Filter lists are reported as one line when they hold nothing but None (0) and Sub (1).
describe() {
    python3 "$repo/scripts/artwork-png.py" describe "$repo/$1" \
        | sed -E 's/^filters( [01])+$/filters None and Sub only/'
}
indent() { sed 's/^/    /'; }
expect() {
    local expected
    expected=$(cat)
    if [ "$(describe "$1")" != "$expected" ]; then
        echo "FAIL: $1 reads"
        describe "$1" | indent
        echo "  instead of"
        printf '%s\n' "$expected" | indent
        failed=1
    fi
}
png_form='bit depth 8, colour type 6, interlace 0'

expect Resources/images/logo.png <<EOF
size 48x48
$png_form
chunks IHDR IDAT IEND
filters None and Sub only
EOF
expect Resources/images/logo@2x.png <<EOF
size 96x96
$png_form
chunks IHDR IDAT IEND
filters None and Sub only
EOF
expect Resources/images/watermark.png <<EOF
size 134x348
$png_form
chunks IHDR sRGB gAMA pHYs tEXt tEXt IDAT IEND
filters None and Sub only
EOF
expect Resources/images/watermark@2x.png <<EOF
size 268x696
$png_form
chunks IHDR sRGB gAMA pHYs tEXt tEXt IDAT IEND
filters None and Sub only
EOF
expect Resources/remedor.ico <<EOF
image 256x256, 32-bit, PNG
size 256x256
$png_form
chunks IHDR IDAT IEND
filters None and Sub only
image 96x96, 32-bit, DIB 96x96 32-bit with AND mask
image 48x48, 32-bit, DIB 48x48 32-bit with AND mask
image 32x32, 32-bit, DIB 32x32 32-bit with AND mask
image 24x24, 32-bit, DIB 24x24 32-bit with AND mask
image 16x16, 32-bit, DIB 16x16 32-bit with AND mask
EOF

[ "$failed" -eq 0 ] || exit 1
echo "The artwork matches its sources and has the expected form."
