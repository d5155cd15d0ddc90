#!/usr/bin/env bash
# Configures (once) and builds Sonvera into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${SONVERA_BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONVERA_WERROR=ON "$@"
fi
cmake --build "$build" --parallel "$(nproc)"
