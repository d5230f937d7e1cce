#!/usr/bin/env bash
# Renders the hand-drawn SVGs here into the pictures under data/, which are committed,
# so the build never needs these tools. Needs librsvg2-bin, imagemagick and
# fonts-dejavu-core (the logo's and the radio display's text).
set -euo pipefail
cd "$(dirname "$0")"
data=../data
convert=/usr/bin/convert  # ImageMagick itself, not a wrapper earlier on PATH

rsvg-convert logo.svg -o logo.tmp.png
# No dithering: the logo is flat colours and a smooth gradient that 256 colours hold.
"$convert" logo.tmp.png -background white -flatten +dither -colors 256 "$data/QL Logo.gif"
rm logo.tmp.png

rsvg-convert transfer-radio.svg -o "$data/transfer-radio.png"
rsvg-convert transfer-pc.svg -o "$data/transfer-pc.png"

icons=$data/icons/hicolor
# 16 pixels has its own drawing: the big one turns to mush there.
mkdir -p "$icons/16x16/apps"
rsvg-convert -w 16 -h 16 icon-16.svg -o "$icons/16x16/apps/qm47.png"
for size in 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/qm47.svg" -o "$icons/${size}x${size}/apps/qm47.png"
done

# Tool bar pictures at 24 pixels, and twice that for high-density screens.
mkdir -p "$data/icons/toolbar"
for svg in toolbar/*.svg; do
  name=$(basename "$svg" .svg)
  rsvg-convert -w 24 -h 24 "$svg" -o "$data/icons/toolbar/$name.png"
  rsvg-convert -w 48 -h 48 "$svg" -o "$data/icons/toolbar/$name@2x.png"
done
