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
. "$root/bench/common.sh"
cmake --build "$build" --target engine_bench >/dev/null
bench=$(find "$build" -name engine_bench -type f -perm -u+x | head -1)

make_mp3() { # MINUTES
  make_source $(($1 * 60)) "$out/src_${1}min"
  echo "$out/src_${1}min.mp3"
}

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
