#!/usr/bin/env bash
# Builds everything and runs every test: the native build and its Debian
# package, checked by lintian; the Windows build under Wine when the cross
# compiler is installed; the whole native suite again under AddressSanitizer
# and UndefinedBehaviorSanitizer, and a short fuzzing run, when clang is
# installed.
set -euo pipefail
cd "$(dirname "$0")"
cmake --workflow --preset default
if command -v lintian >/dev/null; then
  rm -f build/cellglyph_*.deb
  (cd build && cpack -G DEB >/dev/null)
  lintian --fail-on error,warning build/cellglyph_*.deb
  echo "Debian package: lintian reports no errors and no warnings"
else
  echo "Debian package check skipped: lintian is not installed"
fi
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  cmake --workflow --preset windows
else
  echo "Windows tests skipped: g++-mingw-w64-x86-64-posix is not installed"
fi
if command -v clang++ >/dev/null; then
  cmake --workflow --preset sanitize
  cmake --workflow --preset fuzz
else
  echo "Sanitizer and fuzzing runs skipped: clang is not installed"
fi
