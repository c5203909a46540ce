#!/usr/bin/env bash
# Draws the about box picture (400 x 300, colour JPEG, about 50 KB) with ImageMagick.
# The two white labels sit in the band y = 80..200, so that band is shaded dark.
# The result is committed; run again only to change the picture:
#   resources/make-about-picture.sh resources/About.jpg
set -euo pipefail
out=${1:-"$(dirname "$0")/About.jpg"}

convert -seed 1307 \
  -size 400x300 gradient:'#10306A-#4A1038' \
  \( -size 400x300 plasma:'#203060-#602040' -blur 0x2 \) -compose blend -define compose:args=35 -composite \
  -compose over \
  -fill '#F2A93BB0' -draw 'circle 330,42 374,42' \
  -fill '#2FB9C490' -draw 'circle 58,262 120,262' \
  -fill '#C8346A80' -draw 'polygon 0,300 140,212 262,300' \
  -fill '#6BD16E70' -draw 'polygon 400,300 296,232 400,188' \
  -stroke '#FFFFFF50' -strokewidth 2 -fill none \
  -draw 'bezier 0,58 120,8 260,108 400,38' \
  -draw 'bezier 0,232 150,282 260,202 400,262' \
  -stroke none \
  \( -size 400x300 xc:none -fill '#000000B0' -draw 'rectangle -40,92 440,192' -blur 0x22 \) -composite \
  -attenuate 0.5 +noise Gaussian \
  -interlace none -sampling-factor 2x2 -quality 94 -strip \
  "jpeg:$out"
