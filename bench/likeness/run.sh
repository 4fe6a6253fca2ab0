#!/usr/bin/env bash
# The likeness benchmark in one command: installs the pinned npm peer into bench/likeness/peer
# (npm ci, once), then runs likeness_bench.py on every picture and route with the Debian Python.
# Usage: bench/likeness/run.sh [build folder] [likeness_bench.py options, e.g. --jobs 1]
# Needs Debian's python3-numpy python3-scipy python3-pil imagemagick libjxl-devtools, and
# Node.js with npm for the peer (without them the peer's routes are left out).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
shift || true
if command -v npm >/dev/null && [ ! -d "$here/peer/node_modules/img2petscii" ]; then
  npm ci --prefix "$here/peer" --no-audit --no-fund >&2
fi
exec /usr/bin/python3 "$here/likeness_bench.py" "$build" --invert-too "$@"
