#!/usr/bin/env bash
# Builds the programs in Release (without tests) into build-release/ and writes the Debian
# packages quillmark, lineprobe and fatsim into dist/ with CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALIN_TESTS=OFF \
    "${launcher[@]}" >/dev/null
cmake --build build-release -j"$jobs"
rm -rf build-release/packages
cpack --config build-release/CPackConfig.cmake -B build-release/packages
mkdir -p dist
rm -f dist/*.deb
mv build-release/packages/*.deb dist/
ls -l dist/*.deb
