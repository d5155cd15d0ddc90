#!/usr/bin/env bash
# Sets up what the tests need, builds Sonvera and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh test
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
