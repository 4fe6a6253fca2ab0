#!/usr/bin/env bash
# Times 100 photos of 1 to 12 megapixels to .prg: a shell loop over the
# three programs (prepare to a BMP, cellglyph, export) against one batch
# run of cellglyph-prepare, side by side in one hyperfine run; hyperfine's
# summary gives the ratio. The photos are made here by Pillow (Debian:
# python3-pil) from the two scikit-image samples in docs/pictures (Debian's
# python3-skimage): crops scaled up, turned and tinted, saved as JPEG.
# Usage: bench/batch.sh [build folder] [photo count]   (default: build 100)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
count=${2:-100}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/photos"

/usr/bin/python3 - "$work/photos" "$count" <<'PY'
import random, sys
from PIL import Image, ImageEnhance
folder, count = sys.argv[1], int(sys.argv[2])
sources = [Image.open('docs/pictures/%s.png' % name).convert('RGB')
           for name in ('astronaut', 'coffee')]
random.seed(64)
for n in range(count):
    source = sources[n % len(sources)]
    megapixels = 1 + 11 * n / max(count - 1, 1)
    width = int((megapixels * 1e6 * 4 / 3) ** 0.5)
    size = (width, width * 3 // 4) if n % 3 else (width * 3 // 4, width)
    left, top = random.randint(0, source.width // 4), random.randint(0, source.height // 4)
    photo = source.crop((left, top, left + source.width * 3 // 4, top + source.height * 3 // 4))
    photo = photo.rotate(random.uniform(-8, 8)).resize(size, Image.BICUBIC)
    photo = ImageEnhance.Color(photo).enhance(random.uniform(0.6, 1.4))
    photo.save('%s/photo%03d.jpg' % (folder, n), quality=90)
PY
echo "$count photos, $(du -sh "$work/photos" | cut -f1)"

loop="for photo in $work/photos/*.jpg; do name=\$(basename \$photo .jpg);
  $build/cellglyph-prepare \$photo $work/loop/\$name.bmp $work/loop/\$name.col &&
  $build/cellglyph $work/loop/\$name.bmp $work/loop/\$name.bin normal 0 >/dev/null &&
  $build/cellglyph-export $work/loop/\$name.bin $work/loop/\$name.prg \
    --colours $work/loop/\$name.col >/dev/null; done"
hyperfine --runs 3 --prepare "rm -rf $work/loop $work/batch; mkdir $work/loop" \
  --command-name "shell loop over the three programs" "$loop" \
  --command-name "cellglyph-prepare -o batch --format prg" \
  "$build/cellglyph-prepare -o $work/batch --format prg $work/photos 2>/dev/null"
# Both routes give the same programs: the loop again on the first photos.
for photo in $(ls "$work"/photos/*.jpg | head -5); do
  name=$(basename "$photo" .jpg)
  "$build/cellglyph-prepare" "$photo" "$work/loop/$name.bmp" "$work/loop/$name.col"
  "$build/cellglyph" "$work/loop/$name.bmp" "$work/loop/$name.bin" normal 0 >/dev/null
  "$build/cellglyph-export" "$work/loop/$name.bin" "$work/loop/$name.prg" \
    --colours "$work/loop/$name.col" >/dev/null
  cmp "$work/loop/$name.prg" "$work/batch/$name.prg"
done
echo "The batch's programs equal the loop's."
