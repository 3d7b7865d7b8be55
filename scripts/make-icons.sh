#!/usr/bin/env bash
# Renders resources/icons/skyloom.svg to the PNG sizes desktops look for. Run by hand after
# changing the SVG; the PNGs it writes are committed, so the build needs no SVG renderer.
# Needs: librsvg2-bin (installed here when missing)
set -euo pipefail
if ! command -v rsvg-convert >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
icons="$(dirname "$0")/../resources/icons"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" \
    --output "$icons/skyloom-$size.png" "$icons/skyloom.svg"
done
