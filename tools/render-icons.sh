#!/usr/bin/env bash
# Renders the PNG sizes of the program's icon from its SVG, for desktops and menus that
# want bitmaps. Run after changing the SVG and commit the PNG files with it (needs
# rsvg-convert from librsvg2-bin and optipng).
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
name=example.orvandel.Wavsmith
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "scalable/apps/$name.svg" -o "${size}x${size}/apps/$name.png"
    optipng -quiet -o7 -strip all "${size}x${size}/apps/$name.png"
done
