#!/usr/bin/env bash
# Renders packaging/icons/kazane.svg to the PNG sizes of the hicolor theme
# (needs librsvg2-bin and optipng). Run after changing the SVG; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "packaging/icons/$size"
  rsvg-convert -w "$size" -h "$size" packaging/icons/kazane.svg -o "packaging/icons/$size/kazane.png"
done
optipng -quiet -o5 packaging/icons/*/kazane.png
