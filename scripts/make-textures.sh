#!/usr/bin/env bash
# Builds the globe's two textures from Debian's xplanet-images (NASA Visible Earth,
# not copyrighted). Run once by hand; the PNGs it writes are committed.
# Needs: xplanet-images imagemagick
set -euo pipefail
src=/usr/share/xplanet/images
out="$(dirname "$0")/../resources/textures"
mkdir -p "$out"

# Earth: opaque RGBA, 2048 x 1024, 180 W at the left edge.
convert "$src/earth.jpg" -resize '2048x1024!' -alpha set -define png:color-type=6 "PNG32:$out/earth.png"

# Night lights: brightness becomes alpha; everything darker than the threshold is
# fully transparent black so that it leaves the earth below unchanged.
convert "$src/night.jpg" -resize '2048x1024!' -level 0,70% \
  \( +clone -colorspace Gray -level 8%,55% \) -alpha off -compose CopyOpacity -composite \
  -background black -alpha background -define png:color-type=6 "PNG32:$out/nightlights.png"
