#!/usr/bin/env bash
# Sets up what Sonvera needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run
scripts/build.sh
exec build/sonvera "$@"
