#!/usr/bin/env bash
# Builds the fuzz targets with clang under ASan and UBSan and runs each for a short while.
# FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVALIN_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc 2>/dev/null || echo 2)"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in build-fuzz/bin/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="tests/fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    echo "fuzzing $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" \
            >"build-fuzz/$name.log" 2>&1; then
        tail -n 60 "build-fuzz/$name.log"
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done' "build-fuzz/$name.log" | tail -n 2
    fi
done
exit $status
