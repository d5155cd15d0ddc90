#!/usr/bin/env bash
# Installs the Debian packages Sonvera builds and tests with, when missing.
# Usage: scripts/deps.sh [run|test|fuzz]
set -euo pipefail
what=${1:-run}
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
      libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
      libmp3lame-dev libtag1-dev xdg-utils)
if [ "$what" = test ]; then
  # ffmpeg and lame make the synthetic test media and decode outputs independently.
  # desktop-file-utils checks the installed menu entry.
  pkgs+=(libgtest-dev libgmock-dev ffmpeg lame xvfb xauth time desktop-file-utils)
fi
if [ "$what" = fuzz ]; then
  # Only scripts/fuzz.sh builds with clang; the product builds with g++.
  pkgs+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
