#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds there: the
# program, its desktop entry and metainfo (as the validators see them, without network) and
# the icon at every size.
# Usage: check-install.sh BUILD_DIR APP_ID VERSION "ICON SIZES"
set -euo pipefail
build=$1 id=$2 version=$3 sizes=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

program=$prefix/bin/skyloom
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
icons=$prefix/share/icons/hicolor
[ -x "$program" ] || fail "no program at bin/skyloom"
[ -f "$desktop" ] || fail "no desktop entry $desktop"
[ -f "$metainfo" ] || fail "no metainfo $metainfo"

# Validators: any error or warning fails; hints do not.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
if grep -Eiq 'error|warning' <<<"$out"; then fail "desktop-file-validate: $out"; fi
out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli: $out"

# The entry starts this program and shows this icon; the metainfo names this entry and
# this release.
field() { grep -E "^$1=" "$desktop" | cut -d= -f2-; }
[ "$(field Exec)" = skyloom ] || fail "Exec is '$(field Exec)'"
[ "$(field Icon)" = "$id" ] || fail "Icon is '$(field Icon)'"
[ -n "$(field StartupWMClass)" ] || fail "no StartupWMClass"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $id.desktop"
grep -Eq "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$metainfo" ||
  fail "metainfo has no dated release $version"

# Each PNG is drawn at the size its folder says (width and height from the PNG header).
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
[ -f "$icons/scalable/apps/$id.svg" ] || fail "no scalable icon"
grep -q '<svg' "$icons/scalable/apps/$id.svg" || fail "scalable icon is no SVG"
for size in $sizes; do
  png=$icons/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
done

# The installed program answers the command line before it needs a display.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --version) ||
  fail "--version exited $?"
[ "$out" = "Skyloom $version" ] || fail "--version printed '$out'"
status=0
err=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --map-server http://maps.example.org/ 2>&1 \
  >/dev/null) || status=$?
[ "$status" = 2 ] || fail "an http map server exited $status"
grep -q 'https' <<<"$err" || fail "an http map server said '$err'"

echo "install: all checks passed"
