#!/usr/bin/env bash
# Times the writer against its peers on one 10-minute 44.1 kHz stereo source
# and prints the median ratios (ours / peer; below 1.0 is faster).
# Usage: bench/writer.sh [RUNS]   (build dir: $BUILD, default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${BUILD:-build}
cmake --build "$build" -j2 --target writer_bench >/dev/null
drv="$PWD/$build/bench/writer_bench"
out=bench/out/writer
mkdir -p "$out"
. bench/common.sh

if [ ! -f "$out/src.mp3" ]; then
  make_source 600 "$out/src"
  ff -i "$out/src.wav" -f f32le "$out/src.f32"
  ff -i "$out/src.mp3" -f f32le "$out/dec.f32"
fi

# run_of CMD: "wall cpu" seconds of one run (cpu: user + system of all its processes).
run_of() {
  local TIMEFORMAT='%R %U %S' t
  t=$( { time bash -c "$1" >/dev/null; } 2>&1 )
  awk '{print $1, $2 + $3}' <<<"$t"
}

# compare NAME "OURS" "PEER": runs both alternately; prints the medians of wall
# and CPU time and their ratios. The machine may be shared: CPU time is the
# steadier figure then.
compare() {
  local name=$1 ours=$2 peer=$3 o p
  o=$(for _ in $(seq "$runs"); do run_of "$ours" >&3; run_of "$peer"; done 3>"$out/ours.times")
  p=$o
  o=$(cat "$out/ours.times")
  local ow oc pw pc
  ow=$(cut -d' ' -f1 <<<"$o" | median); oc=$(cut -d' ' -f2 <<<"$o" | median)
  pw=$(cut -d' ' -f1 <<<"$p" | median); pc=$(cut -d' ' -f2 <<<"$p" | median)
  awk -v n="$name" -v ow="$ow" -v pw="$pw" -v oc="$oc" -v pc="$pc" 'BEGIN {
    printf "%-46s wall %6.2f / %6.2f s = %.2f   cpu %6.2f / %6.2f s = %.2f\n", n, ow, pw, ow / pw, oc, pc, oc / pc }'
}

echo "writer bench: 10 min 44.1 kHz stereo, median of $runs runs, ours / peer"
compare "WAV path: decode | write (vs ffmpeg mp3->wav)" \
  "ffmpeg -v error -i $out/src.mp3 -f f32le - | $drv $out/ours.wav 44100 2 -" \
  "ffmpeg -v error -y -i $out/src.mp3 -c:a pcm_s16le $out/peer.wav"
compare "WAV writer alone: f32 file -> wav" \
  "$drv $out/ours.wav 44100 2 $out/dec.f32" \
  "ffmpeg -v error -y -f f32le -ar 44100 -ac 2 -i $out/dec.f32 -c:a pcm_s16le $out/peer.wav"
compare "MP3 128k high (vs lame -b 128 -q 4)" \
  "$drv $out/ours.mp3 44100 2 $out/src.f32 9" \
  "lame --quiet -b 128 -q 4 $out/src.wav $out/peer.mp3"
compare "MP3 128k low (vs lame -b 128 -q 7)" \
  "$drv $out/ours.mp3 44100 2 $out/src.f32 0" \
  "lame --quiet -b 128 -q 7 $out/src.wav $out/peer.mp3"
compare "MP3 128k high (vs lame -q 4 --noreplaygain)" \
  "$drv $out/ours.mp3 44100 2 $out/src.f32 9" \
  "lame --quiet -b 128 -q 4 --noreplaygain $out/src.wav $out/peer.mp3"
