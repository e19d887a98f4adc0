#!/usr/bin/env bash
# Renders the hand-drawn SVG icons to the PNG sizes the desktop and the windows use.
# The PNGs are committed; run this again after editing an SVG.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing: apt-get install librsvg2-bin" >&2; exit 1; }
sizes=(16 22 24 32 48 64 128 256)
for app in vornilex quellatto; do
    for s in "${sizes[@]}"; do
        # The small sizes have their own drawing where one exists: the full one
        # turns to mush below 32 pixels.
        src=$app.svg
        if [ "$s" -lt 32 ] && [ -f "$app-small.svg" ]; then
            src=$app-small.svg
        fi
        rsvg-convert --width "$s" --height "$s" --keep-aspect-ratio "$src" --output "$app-$s.png"
    done
done
