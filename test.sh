#!/usr/bin/env bash
# Builds everything and runs every test: the native build, then the Windows
# build under Wine when the cross compiler is installed.
set -euo pipefail
cd "$(dirname "$0")"
cmake --workflow --preset default
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  cmake --workflow --preset windows
else
  echo "Windows tests skipped: g++-mingw-w64-x86-64-posix is not installed"
fi
