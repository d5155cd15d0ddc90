#!/usr/bin/env bash
# Reader speed against `ffmpeg -i in.mp3 -f null -` on the same 10-minute MP3
# (whole processes timed alike, alternating, median of RUNS), and the reader's
# peak memory on a 10- and a 30-minute file.
# Usage: bench/reader.sh [BUILD_DIR]   (env RUNS, default 7)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${RUNS:-7}
out=$root/bench/out
mkdir -p "$out"
cmake --build "$build" --target reader_bench >/dev/null
bench=$build/bench/reader_bench
[ -x "$bench" ] || bench=$(find "$build" -name reader_bench -type f -perm -u+x | head -1)

. "$root/bench/common.sh"

make_mp3() { # MINUTES
  make_source $(($1 * 60)) "$out/src_${1}min"
  echo "$out/src_${1}min.mp3"
}

seconds_of() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}

ten=$(make_mp3 10)
ours=()
theirs=()
for _ in $(seq "$runs"); do
  ours+=("$(seconds_of "$bench" "$ten")")
  theirs+=("$(seconds_of ffmpeg -nostdin -v error -i "$ten" -f null -)")
done
our_ms=$(printf '%s\n' "${ours[@]}" | median)
ff_ms=$(printf '%s\n' "${theirs[@]}" | median)
echo "reader, 10-min MP3 in 2-s blocks: median ${our_ms} ms; ffmpeg -f null: median ${ff_ms} ms"
awk -v o="$our_ms" -v f="$ff_ms" 'BEGIN {printf "reader speed = %.2f x ffmpeg (goal >= 1.0)\n", f / o}'

thirty=$(make_mp3 30)
echo "reader peak RSS: 10 min $(peak_kb "$bench" "$ten") KiB, 30 min $(peak_kb "$bench" "$thirty") KiB"
