#!/usr/bin/env bash
# Makes the pictures the README shows, with the programs themselves, from
# pictures in Debian's python3-skimage package (scikit-image's sample data):
# astronaut.png (NASA, public domain) and coffee.png (CC0).
# Usage: docs/pictures/make_pictures.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?build folder}")
here=$(dirname "$(realpath "$0")")
data=/usr/lib/python3/dist-packages/skimage/data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in astronaut coffee; do
  # The picture as the screen frames it: scaled to fill 320 x 200, centred.
  /usr/bin/python3 -c "import sys; from PIL import Image, ImageOps
ImageOps.fit(Image.open(sys.argv[1]).convert('RGB'), (320, 200), Image.LANCZOS).save(sys.argv[2])" \
    "$data/$name.png" "$here/$name.png"
  "$build/cellglyph-prepare" "$data/$name.png" "$work/$name.bmp" "$work/$name.col" >/dev/null
  "$build/cellglyph" "$work/$name.bmp" "$work/$name.bin" normal 0 >/dev/null
  "$build/cellglyph-render" "$work/$name.bin" "$here/$name-mono.png" --scale 1 --colours "$work/$name.col" >/dev/null
  "$build/cellglyph-prepare" "$data/$name.png" "$work/$name.bmp" --colours "$work/$name.col" >/dev/null
  "$build/cellglyph" "$work/$name.bmp" "$work/$name.bin" normal 0 >/dev/null
  "$build/cellglyph-render" "$work/$name.bin" "$here/$name-colour.png" --scale 1 --colours "$work/$name.col" >/dev/null
done
