#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build -G Ninja -DCELLGLYPH_WERROR="${CELLGLYPH_WERROR:-OFF}" >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
