#!/usr/bin/env bash
# Draws the PNG sizes of the icon from icons/vintorel.svg (rsvg-convert, package
# librsvg2-bin). The PNGs are committed; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" vintorel.svg -o "hicolor/${size}x${size}/apps/vintorel.png"
done
