#!/usr/bin/env bash
# Renders the artwork sources in Resources/art/ into the files the program uses:
#   Resources/images/logo.png       48x48 header logo          (logo.svg)
#   Resources/images/watermark.png  134x348 side panel         (watermark.svg)
#   Resources/images/logo@2x.png, watermark@2x.png   the same at twice the size, which Qt
#                                   picks on displays scaled above 100 %
#   Resources/remedor.ico           256 (PNG) and 96 (icon.svg), 48 and 32 (logo.svg),
#                                   24 (icon-24.svg), 16 (icon-16.svg) as 32-bit DIBs
# rsvg-convert draws the pixels; scripts/artwork-png.py stores them with the None and Sub
# row filters only (cheap to decode at start-up) and without dates, so every run writes the
# same bytes; icotool assembles the icon.
#   scripts/render-artwork.sh [ROOT]   writes under ROOT (default: the repository)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$repo}
art=$repo/Resources/art
"$repo/scripts/install-deps.sh" librsvg2-bin icoutils python3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# render SVG WIDTH HEIGHT OUTPUT [artwork-png.py encode options...]
render() {
    rsvg-convert --width "$2" --height "$3" -o "$work/rendered.png" "$art/$1"
    python3 "$repo/scripts/artwork-png.py" encode "$work/rendered.png" "$4" "${@:5}"
}

mkdir -p "$root/Resources/images"
render logo.svg 48 48 "$root/Resources/images/logo.png"
render logo.svg 96 96 "$root/Resources/images/logo@2x.png"
render watermark.svg 134 348 "$root/Resources/images/watermark.png" --srgb --dpi 96 \
    --text "Software=Remedor artwork script" --text "Title=Remedor wizard watermark"
render watermark.svg 268 696 "$root/Resources/images/watermark@2x.png" --srgb --dpi 192 \
    --text "Software=Remedor artwork script" --text "Title=Remedor wizard watermark"

render icon.svg 256 256 "$work/256.png"
render icon.svg 96 96 "$work/96.png"
render logo.svg 48 48 "$work/48.png"
render logo.svg 32 32 "$work/32.png"
render icon-24.svg 24 24 "$work/24.png"
render icon-16.svg 16 16 "$work/16.png"
# --alpha-threshold=0: the AND mask marks only fully transparent pixels.
icotool --create --bit-depth=32 --alpha-threshold=0 -o "$root/Resources/remedor.ico" \
    --raw="$work/256.png" "$work"/{96,48,32,24,16}.png
