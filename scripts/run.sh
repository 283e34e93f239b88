#!/usr/bin/env bash
# Builds Balizor and starts it; arguments are passed to the editor (files to open, -N).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/balizor "$@"
