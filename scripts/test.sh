#!/usr/bin/env bash
# Sets up, builds and runs every test, then a short fuzzing run of the file readers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc 2>/dev/null || echo 2)"
bash scripts/fuzz.sh
