#!/usr/bin/env bash
# Installs what scripts/make-demo-maps.py and scripts/readme-screenshots.sh need on Debian 12:
# the real global fields of libncarg-data, Python to read and paint them, and the X tools
# that drive and capture the app under Xvfb. Run as root (or through sudo).
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get install -y libncarg-data python3-netcdf4 python3-numpy python3-pil \
    xvfb xauth imagemagick xdotool
