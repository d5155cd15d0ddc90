#!/usr/bin/env bash
# Installs the Debian package into this system the way a user does, converts a
# generated tone with the installed sonvera-batch and starts the installed
# window. Exit 77 means skipped.
# Usage: test_deb.sh BUILD_DIR [SONVERA_BATCH]
set -euo pipefail
build=$(cd "${1:?usage: test_deb.sh BUILD_DIR [SONVERA_BATCH]}" && pwd)
if [ -z "${2:-}" ]; then
  echo "SKIP: sonvera-batch is not built in this tree, so the package has nothing to run headless"
  exit 77
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing the package into the system needs root"
  exit 77
fi

work=$(mktemp -d)
was_installed=$(dpkg-query -W -f='${Status}' sonvera 2>/dev/null | grep -c 'ok installed' || true)
cleanup() {
  [ "$was_installed" -eq 0 ] && dpkg -r sonvera >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack"; }
(cd "$work/pkg" && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ./sonvera_*.deb) \
  >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get install"; }

for f in /usr/bin/sonvera /usr/bin/sonvera-batch /usr/lib/sonvera/help/index.html \
         /usr/share/applications/sonvera.desktop /usr/share/icons/hicolor/scalable/apps/sonvera.svg; do
  [ -e "$f" ] || fail "$f is not installed"
done
[ "$(readlink -f /usr/bin/sonvera)" = /usr/lib/sonvera/sonvera ] || fail "/usr/bin/sonvera does not lead to the program folder"
desktop-file-validate /usr/share/applications/sonvera.desktop || fail "the menu entry is not valid"
! ldd /usr/lib/sonvera/sonvera /usr/lib/sonvera/sonvera-batch | grep 'not found' || fail "unresolved libraries"

# A three-second stereo tone as MP3, decoded to WAV by the installed tool.
mkdir -p "$work/in" "$work/out" "$work/config"
ffmpeg -hide_banner -loglevel error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=3" \
  -ac 2 -c:a libmp3lame -b:a 128k "$work/in/tone.mp3"
ini="$work/config/ro3zeduro.ini"
printf '[WavOption]\nDir=%s\nFormat=CD quality\n' "$work/out" >"$ini"
XDG_CONFIG_HOME="$work/config" /usr/bin/sonvera-batch towav --settings "$ini" --yes "$work/in/tone.mp3" \
  || fail "sonvera-batch towav exited with $?"
[ -s "$work/out/tone.wav" ] || fail "no output $work/out/tone.wav"
format=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels \
  -of csv=p=0 "$work/out/tone.wav")
[ "$format" = "pcm_s16le,44100,2" ] || fail "output format is $format"
seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/out/tone.wav")
awk -v s="$seconds" 'BEGIN { exit !(s > 2.9 && s < 3.2) }' || fail "output lasts $seconds s"

# The window starts and keeps running until it is ended.
rc=0
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/sonvera >"$work/gui.log" 2>&1 || rc=$?
[ "$rc" -eq 124 ] || { cat "$work/gui.log"; fail "sonvera ended with $rc before it was stopped"; }
echo "package installed; sonvera-batch made a 16-bit 44.1 kHz stereo WAV; the window started"
