#!/usr/bin/env bash
# Builds Balizor and runs the whole test suite (offscreen, settings in temporary folders).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
