#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build, the app, the tests, the benchmarks
# and the fuzzing need. Quick when all of it is already there. Fuzzing takes clang with its
# runtime libraries (libFuzzer and the sanitizers are in libclang-rt-14-dev) and
# llvm-symbolizer (llvm-14), which puts file and line into sanitizer reports.
set -euo pipefail

packages=(
  build-essential cmake pkgconf clang-format
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libgl1-mesa-dri
  libsimpleini-dev libcpp-httplib-dev libssl-dev openssl libbenchmark-dev
  xvfb xauth fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev
  clang libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
