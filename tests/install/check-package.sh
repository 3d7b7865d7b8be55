#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and checks its
# name, control fields and file list.
# Usage: check-package.sh BUILD_DIR APP_ID VERSION "ICON SIZES" SUMMARY
set -euo pipefail
build=$1 id=$2 version=$3 sizes=$4 summary=$5
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

arch=$(dpkg --print-architecture)
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; fail "cpack failed"; }
deb=$out/skyloom_${version}_$arch.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = skyloom ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = science ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
description=$(field Description)
[ "$(head -1 <<<"$description")" = "$summary" ] || fail "Description starts '$(head -1 <<<"$description")'"
# A continuation line with two leading spaces would be shown verbatim, unwrapped.
if grep -q '^  ' <<<"$description"; then fail "Description lines are indented twice"; fi
[ "$(wc -l <<<"$description")" -gt 1 ] || fail "no long description"
# Depends comes from dpkg-shlibdeps: every Qt library the program links, and libc.
depends=$(field Depends)
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6opengl6 \
  libqt6openglwidgets6; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
expected=(./usr/bin/skyloom ./usr/share/applications/$id.desktop
  ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg)
for size in $sizes; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done
# Nothing from the tests or benchmarks rides along.
extra=$(grep -v -e '/$' <<<"$files" | grep -vxF "$(printf '%s\n' "${expected[@]}")" || true)
[ -z "$extra" ] || fail "unexpected files in the package: $extra"

echo "package: $(basename "$deb"), Depends: $depends"
