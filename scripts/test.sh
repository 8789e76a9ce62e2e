#!/usr/bin/env bash
# Sets up, builds, runs a short fuzzing run of the file readers, then every test (CTest).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/fuzz.sh
ctest --test-dir build --output-on-failure -j"$(nproc 2>/dev/null || echo 2)"
