#!/usr/bin/env bash
# Draws the menu bar's three 16 x 16 icons (make document, preview, help) as
# one strip, resources/menu_images.png. Needs ImageMagick.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)/resources/menu_images.png}
convert -size 48x16 xc:none \
  -fill '#FFFFFF' -stroke '#4A6A8C' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' \
  -stroke '#4A6A8C' -draw 'line 10,1 10,4 line 10,4 13,4' \
  -stroke '#8FA9C4' -draw 'line 5,7 11,7 line 5,9 11,9 line 5,11 9,11' \
  -fill '#3C9A3C' -stroke '#2D7A2D' -draw 'rectangle 10,10 14,14' \
  -fill none -stroke '#4A6A8C' -strokewidth 2 -draw 'circle 22,6 25,6' \
  -stroke '#8C6A3A' -strokewidth 2 -draw 'line 24,9 29,14' \
  -fill '#3D7FC2' -stroke '#2F659C' -strokewidth 1 -draw 'circle 40,8 40,1' \
  -fill '#FFFFFF' -stroke none -font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf -pointsize 12 -draw "text 36,13 '?'" \
  "PNG32:$out"
echo "$out"
