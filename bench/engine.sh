#!/usr/bin/env bash
# Engine figures on synthetic MP3 sources decoded to WAV:
#  - overhead: a to-WAV job's wall time over the same component calls made
#    directly on a 10-minute file, in one process, alternating, median of the
#    paired ratios of RUNS (target <= 1.05);
#  - memory: peak resident memory of the job on a 30-minute vs a 3-minute
#    file, each in its own process (target within 10 %);
#  - stop latency: from the stop request to the worker's end, in blocks of
#    work (target <= 1).
# Usage: bench/engine.sh [BUILD_DIR]   (env RUNS, default 7)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${RUNS:-7}
out=$root/bench/out
mkdir -p "$out"
cmake --build "$build" --target engine_bench >/dev/null
bench=$(find "$build" -name engine_bench -type f -perm -u+x | head -1)

# A 44.1 kHz stereo 128 kbit/s MP3 of a tone and pink noise.
make_mp3() {
  local minutes=$1 file=$out/engine_${1}min.mp3
  if [ ! -f "$file" ]; then
    local seconds=$((minutes * 60))
    ffmpeg -hide_banner -loglevel error -y \
      -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
      -f lavfi -i "anoisesrc=d=$seconds:c=pink:r=44100:a=0.2" \
      -filter_complex "[0][1]amerge=inputs=2" -c:a libmp3lame -b:a 128k "$file"
  fi
  echo "$file"
}

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

short=$(make_mp3 3)
medium=$(make_mp3 10)
long=$(make_mp3 30)
work=$out/engine_work

"$bench" overhead "$medium" "$work" "$runs"
short_kb=$(peak_kb "$bench" job "$short" "$work")
long_kb=$(peak_kb "$bench" job "$long" "$work")
awk -v s="$short_kb" -v l="$long_kb" \
  'BEGIN { printf "memory: peak RSS 3 min %d kB, 30 min %d kB, ratio %.3f\n", s, l, l / s }'
"$bench" stop "$long" "$work"
rm -rf "$work"
