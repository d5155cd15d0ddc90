#!/usr/bin/env bash
# Draws every shipped skin through the skin engine under Xvfb into docs/screenshots.
# Usage: skins/make_screenshots.sh [build dir]   (after building skin_screenshot)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/screenshots
mkdir -p "$out"
shot() { xvfb-run -a "$build/skins/skin_screenshot" "$@"; }
for n in 1 2 3 4 5 6; do
  shot "skins/skin$n.skn" "$out/skin$n.png"
done
# A running to-MP3 job: its button pressed, the other two greyed out, Stop usable.
shot skins/skin1.skn "$out/skin1-tomp3-running.png" \
  tomp3_click=1 normalize_disable=1 towav_disable=1 stop_disable=0
