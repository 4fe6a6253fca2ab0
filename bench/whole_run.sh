#!/usr/bin/env bash
# Times a whole conversion against copying the same image, both with their
# output redirected, and shows the converter's peak memory.
# Usage: bench/whole_run.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
program="$(realpath "${1:-build}")/cellglyph"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/sample.bmp "$work/in.bmp"

hyperfine --shell=none --warmup 50 --runs 2000 \
  "$program $work/in.bmp $work/out.bin normal 56" \
  "cp $work/in.bmp $work/copy.bmp"

/usr/bin/time -v "$program" "$work/in.bmp" "$work/out.bin" normal 56 2>&1 >/dev/null |
  grep "Maximum resident set size"
