#!/usr/bin/env bash
# Draws the product's art: the picture beside the controls (bitmap 131, picture131.bmp)
# and the application icon (icon 128, icon128.ico: 16, 32, 48 and 256 pixels). Both
# builds embed the generated files, which are committed, so building needs none of this;
# run it again after changing the art. Needs ImageMagick and the IPA P Gothic font.
#
# The picture is drawn for the template's rectangle (263 x 320 dialog units) with the
# dialog font at 96 dpi: 460 x 520 pixels. Smaller metrics (7 x 13 base units here,
# 6 x 12 with the Windows face) show its middle, so the title and the tree keep clear of
# the outer 32 pixels left and right and 20 pixels top and bottom.
set -euo pipefail
cd "$(dirname "$0")"

FONT=${MIREL_ART_FONT:-/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf}
[ -r "$FONT" ] || { echo "make_art: font $FONT not found (Debian package fonts-ipafont-gothic)" >&2; exit 1; }
command -v convert >/dev/null || { echo "make_art: ImageMagick's convert is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

W=460
H=520

draw_picture() {
  # Night sky over a dawn horizon.
  convert -size ${W}x290 gradient:'#141c44'-'#a9619a' "$work/sky1.png"
  convert -size ${W}x230 gradient:'#a9619a'-'#ffd6bf' "$work/sky2.png"
  convert "$work/sky1.png" "$work/sky2.png" -append "$work/sky.png"
  convert -size ${W}x${H} xc:none -fill '#ffe6d2b0' -draw "ellipse 230,380 200,120 0,360" -blur 0x50 "$work/glow.png"
  convert "$work/sky.png" "$work/glow.png" -compose screen -composite "$work/bg.png"

  local stars="" p x y
  for p in 40,30 92,64 150,22 205,52 268,18 330,44 400,26 430,80 70,110 360,96 24,170 440,160 250,88; do
    x=${p%,*}; y=${p#*,}; stars+="circle $x,$y $((x + 1)),$y "
  done
  convert "$work/bg.png" -fill '#ffffffa0' -draw "$stars" "$work/bg.png"

  # A crescent moon: a disc with a second disc cut out of it.
  convert -size 60x60 xc:none -fill '#fff3d6' -draw "circle 30,30 30,8" \
    \( -size 60x60 xc:none -fill black -draw "circle 40,24 40,4" \) -compose dst-out -composite "$work/moon.png"
  convert "$work/bg.png" "$work/moon.png" -geometry +362+40 -compose over -composite "$work/bg.png"

  # Three ranges of hills, far to near.
  convert "$work/bg.png" \
    -fill '#c890b4' -draw "path 'M 0,404 Q 90,346 190,376 T 360,360 T 460,372 L 460,520 L 0,520 Z'" \
    -fill '#835e98' -draw "path 'M 0,440 Q 120,396 230,432 T 460,412 L 460,520 L 0,520 Z'" \
    -fill '#3a2d5c' -draw "path 'M 0,476 Q 150,442 280,472 T 460,460 L 460,520 L 0,520 Z'" \
    "$work/land.png"

  # A tree in blossom on the far hill.
  convert "$work/land.png" -fill '#2a2046' -stroke '#2a2046' \
    -draw "path 'M 374,368 C 372,340 376,318 368,300 L 372,299 C 382,316 380,336 383,368 Z'" \
    -strokewidth 3 -draw "line 372,318 352,296" -draw "line 376,326 398,304" -stroke none "$work/tree.png"
  local blossom="" c r
  for c in 360,292,16 384,284,18 404,298,14 344,306,12 372,270,15 394,268,11 352,278,11 414,282,10; do
    IFS=, read -r x y r <<<"$c"; blossom+="circle $x,$y $((x + r)),$y "
  done
  convert -size ${W}x${H} xc:none -fill '#f4a9c6' -draw "$blossom" -blur 0x1.2 "$work/canopy.png"
  convert -size ${W}x${H} xc:none -fill '#ffd3e3' \
    -draw "circle 366,282 374,282 circle 388,274 396,274 circle 400,290 405,290 circle 350,298 355,298" \
    -blur 0x2 "$work/light.png"
  convert "$work/tree.png" "$work/canopy.png" -compose over -composite "$work/light.png" -composite "$work/land.png"

  # Falling petals: x, y, angle.
  local petals=() a
  for p in 64,230,20 110,300,70 40,352,130 380,250,40 420,320,100 300,300,160 200,262,20 350,210,80 \
           90,190,140 255,336,60 150,360,110 410,388,30 30,280,90 330,380,150 180,318,45 280,232,120; do
    IFS=, read -r x y a <<<"$p"
    petals+=(-draw "translate $x,$y rotate $a fill #ffd1e0e0 ellipse 0,0 5,3 0,360")
  done
  convert "$work/land.png" "${petals[@]}" "$work/petals.png"

  # The title with a soft shadow, a rule and its reading.
  convert -size ${W}x200 xc:none -font "$FONT" -pointsize 78 -kerning 4 -gravity north \
    -fill '#1a1236' -annotate +0+52 'ハルネア' -blur 0x6 "$work/shadow.png"
  convert -size ${W}x200 xc:none -font "$FONT" -pointsize 78 -kerning 4 -gravity north \
    -fill white -stroke white -strokewidth 1.2 -annotate +0+48 'ハルネア' "$work/title.png"
  convert -size ${W}x200 xc:none -font "$FONT" -pointsize 14 -kerning 9 -gravity north \
    -fill '#f6d8e6' -annotate +4+148 'HARUNEA' \
    -stroke '#f6d8e6a0' -strokewidth 1 -draw "line 120,140 340,140" "$work/reading.png"
  convert "$work/petals.png" \
    "$work/shadow.png" -geometry +0+60 -compose over -composite \
    "$work/title.png" -geometry +0+60 -composite \
    "$work/reading.png" -geometry +0+60 -composite \
    -alpha off -type TrueColor BMP3:picture131.bmp
}

# A rounded tile in the picture's colours.
icon_tile() {
  local size=$1 radius=$2
  convert -size ${size}x${size} gradient:'#1b2352'-'#c2679f' \
    \( -size ${size}x${size} xc:none -fill white \
       -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $radius,$radius" \) \
    -compose copy-opacity -composite "$work/tile$size.png"
}

# The title in two rows of two characters.
icon_title() {
  local size=$1 points=$2 top=$3 gap=$4 stroke=$5
  icon_tile "$size" $((size / 6))
  convert "$work/tile$size.png" -font "$FONT" -pointsize "$points" -gravity north \
    -fill white -stroke white -strokewidth "$stroke" \
    -annotate +0+"$top" 'ハル' -annotate +0+$((top + gap)) 'ネア' "$work/icon$size.png"
}

draw_icon() {
  icon_title 256 104 14 112 3
  icon_title 48 20 3 21 0.6
  icon_title 32 14 1 14 0.4
  # Sixteen pixels hold one character: the title's first.
  icon_tile 16 3
  convert "$work/tile16.png" -font "$FONT" -pointsize 14 -gravity center \
    -fill white -stroke white -strokewidth 0.5 -annotate +0+0 'ハ' "$work/icon16.png"
  convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$work/icon256.png" \
    -depth 8 -define png:exclude-chunks=date,time icon128.ico
}

draw_picture
draw_icon
echo "make_art: wrote res/picture131.bmp and res/icon128.ico"
