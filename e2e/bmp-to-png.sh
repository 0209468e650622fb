#!/bin/bash
# bmp-to-png.sh <folder>: turns every BMP file in the folder into a PNG file beside it.
set -euo pipefail
folder=${1:?usage: bmp-to-png.sh <folder>}
shopt -s nullglob
for bmp in "$folder"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
