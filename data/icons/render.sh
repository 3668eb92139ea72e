#!/usr/bin/env bash
# Renders the icon's PNG sizes from tc8-configurator.svg into the hicolor tree beside it.
# Run after changing the SVG and commit the PNGs with it; the build only copies them.
set -euo pipefail
cd "$(dirname "$0")"

for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    # Drawn large and scaled down, so the small sizes stay smooth.
    /usr/bin/convert -background none -density 384 tc8-configurator.svg \
        -resize "${size}x${size}" -depth 8 -strip -define png:exclude-chunks=date,time \
        "hicolor/${size}x${size}/apps/tc8-configurator.png"
done
