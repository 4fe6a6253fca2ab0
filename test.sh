#!/usr/bin/env bash
# Builds everything and runs every test: the native build and its Debian
# package, checked by lintian; the page and its engine in headless Chromium; the Windows build under Wine; the pictures made
# to cost, natively and under Wine; the whole native suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzzing run.
#
# On Debian it first makes sure the packages below are installed: run as
# root it installs the missing ones with apt-get, otherwise it prints the
# command that does and stops. This is the one list; CI (.ci/run) comes
# through here too.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  cmake ninja-build g++ pkg-config          # the build
  libgtest-dev libgmock-dev libbenchmark-dev util-linux tmux python3 hyperfine
  groff-base dpkg-dev lintian               # manual pages, the Debian package
  g++-mingw-w64-x86-64-posix wine wine64    # the Windows build and its tests
  clang libclang-rt-14-dev                  # sanitizers and fuzzing
  acme 64tass cc65 libpng-dev               # 6502 assemblers and C compiler, PNG library
  libvips-dev python3-pil libheif-examples  # picture decoding, test pictures (heif-enc)
  time                                      # GNU time: the cost tests' peak memory
  emscripten chromium python3-websocket     # the page: its engine, and its test in a browser
)

# shellcheck source=cmake/install_packages.sh
source cmake/install_packages.sh
install_missing_packages

# Runs a workflow preset. ctest passes a suite in which every test was
# skipped (Wine that cannot start, say); it tested nothing, so here it fails.
workflow() {
  cmake --workflow --preset "$1" | awk '
    { print; fflush() }
    /tests passed, .* tests failed out of/ { total = $NF }
    /\*\*\*Skipped/ { skipped++ }
    END {
      if (total == 0 || skipped == total) {
        print "The " preset " tests: none ran (" skipped + 0 " skipped)" > "/dev/stderr"
        exit 1
      }
      if (skipped) print "The " preset " tests: " skipped " of " total " skipped, as listed above"
    }' preset="$1"
}

workflow default
# The page against the native program just built.
workflow web
if command -v lintian >/dev/null; then
  rm -f build/cellglyph_*.deb
  (cd build && cpack -G DEB >/dev/null)
  lintian --fail-on error,warning build/cellglyph_*.deb
  echo "Debian package: lintian reports no errors and no warnings"
else
  echo "Debian package check skipped: lintian is not installed"
fi
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  workflow windows
else
  echo "Windows tests skipped: g++-mingw-w64-x86-64-posix is not installed"
fi
# The pictures made to cost, after the suites above: slow, and timed.
workflow cost
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  workflow windows-cost
fi
if command -v clang++ >/dev/null; then
  workflow sanitize
  workflow fuzz
  workflow fuzz-memory
else
  echo "Sanitizer and fuzzing runs skipped: clang is not installed"
fi
