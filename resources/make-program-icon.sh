#!/usr/bin/env bash
# Draws Tavrin List's program icon at 48, 32 and 16 pixels with ImageMagick.
# The results are committed; run again only to change the icon:
#   resources/make-program-icon.sh
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 32 16; do
  r=$((size / 6))
  convert -size "${size}x${size}" xc:none \
    -fill '#1F4E8C' -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $r,$r" \
    -fill '#F2A93B' -draw "rectangle $((size / 5)),$((size / 5)) $((size - size / 5 - 1)),$((size * 2 / 5))" \
    -fill '#FFFFFF' -draw "rectangle $((size * 2 / 5)),$((size * 2 / 5)) $((size * 3 / 5 - 1)),$((size - size / 5 - 1))" \
    -strip "png:Pellicor-$size.png"
done
