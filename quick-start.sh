#!/usr/bin/env bash
# Builds the programs and turns the bundled photo, examples/chelsea.jpg, into
# a C64 program and its preview: chelsea.prg and chelsea.png, here.
#
# Beyond git, a C++ compiler, CMake and Ninja the build needs pkg-config,
# libvips (to read pictures) and libpng (for the preview). On Debian the
# script checks for them first, as test.sh does: run as root it installs the
# missing ones with apt-get, otherwise it prints the one command that does
# and stops before building.
set -euo pipefail
cd "$(dirname "$0")"

packages=(pkg-config libvips-dev libpng-dev)
# shellcheck source=cmake/install_packages.sh
source cmake/install_packages.sh
install_missing_packages

cmake -S . -B build -G Ninja -DCELLGLYPH_TESTS=OFF -DCELLGLYPH_BENCHMARKS=OFF
cmake --build build
build/cellglyph-prepare examples/chelsea.jpg chelsea.prg chelsea.png
echo "Made chelsea.prg (x64sc chelsea.prg) and its preview chelsea.png."
