#!/usr/bin/env bash
# Builds Sonvera and its Debian package, sonvera_<version>_<arch>.deb.
# Usage: scripts/package.sh [OUTDIR]   (default: the build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${SONVERA_BUILD_DIR:-build}
scripts/build.sh
out=$(mkdir -p "${1:-$build}" && cd "${1:-$build}" && pwd)
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" || { cat "$out/cpack.log"; exit 1; }
ls "$out"/sonvera_*.deb
