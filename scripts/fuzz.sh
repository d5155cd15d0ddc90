#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# SONVERA_FUZZ_SECONDS (default 60) from its seed corpus in tests/fuzz/corpus/.
# A finding fails the run; the input that caused it is kept in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [settings] [skin]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh fuzz
seconds=${SONVERA_FUZZ_SECONDS:-60}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings skin)
out=$PWD/build-fuzz
if [ ! -f "$out/build.ninja" ]; then
  CXX=clang++ cmake -S tests/fuzz -B "$out" -G Ninja >/dev/null
fi
cmake --build "$out" --parallel "$(nproc)" --target "${targets[@]/%/_fuzz}"
mkdir -p "$out/findings"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
for t in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  mkdir -p "$out/corpus/$t"
  echo "== fuzzing $t for ${seconds}s"
  log=$out/$t.log
  if ! "$out/${t}_fuzz" "$out/corpus/$t" "tests/fuzz/corpus/$t" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$out/findings/$t-" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $t found a fault (input in $out/findings/)" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss)' "$log" || tail -n 5 "$log"
done
