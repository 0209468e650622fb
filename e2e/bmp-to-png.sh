#!/bin/bash
# bmp-to-png.sh <folder>: turns every BMP file in the folder into a PNG file beside it.
set -euo pipefail
folder=${1:?usage: bmp-to-png.sh <folder>}
command -v convert >/dev/null 2>&1 ||
  { echo "convert is missing: install the Debian package imagemagick (scripts/install-deps.sh does)" >&2; exit 1; }
shopt -s nullglob
for bmp in "$folder"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
