#!/usr/bin/env bash
# Times cellglyph-prepare against the README's first Pillow and ImageMagick recipes, side by
# side in one hyperfine run, on a 4000 x 3000 JPEG and on a 320 x 200 PNG, then shows each
# one's peak memory. Without cellglyph-prepare in the build folder only the recipes run.
# Usage: bench/likeness/speed.sh [build folder]   (default: build)
# Needs hyperfine, GNU time (package time), ImageMagick, and a Python with Pillow: $PYTHON,
# else python3 or /usr/bin/python3, whichever has it. $CONVERT chooses the convert to run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$repo/build}")
convert=${CONVERT:-convert}
python=${PYTHON:-}
for candidate in python3 /usr/bin/python3; do
  if [ -z "$python" ] && "$candidate" -c 'import PIL' 2>/dev/null; then python=$candidate; fi
done
[ -n "$python" ] || { echo "No Python with Pillow: apt-get install python3-pil" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "No GNU time: apt-get install time" >&2; exit 1; }

# The big picture is a photo from the likeness pictures, 4:3 like the size it is blown up to.
source=$("$python" "$repo/bench/likeness/likeness_bench.py" "$build" --list |
         awk '$1 == "dog" {print $2}')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$python" -c "
import sys
from PIL import Image
picture = Image.open(sys.argv[1]).convert('RGB')
picture.resize((4000, 3000), Image.Resampling.LANCZOS).save('big.jpg', quality=90)
picture.resize((320, 200), Image.Resampling.LANCZOS).save('small.png')" "$source"

# The recipes as the README writes them, with {picture} for photo.jpg; names[i] names
# commands[i] in the tables.
pillow="from PIL import Image; Image.open('{picture}').resize((320, 200)).convert('1')"
names=(pillow imagemagick)
commands=("$python -c \"$pillow.save('picture.bmp')\""
          "$convert {picture} -resize '320x200!' -monochrome -type bilevel BMP3:picture.bmp")
if [ -x "$build/cellglyph-prepare" ]; then
  names=(cellglyph-prepare cellglyph-prepare-colours "${names[@]}")
  commands=("$build/cellglyph-prepare {picture} out.bmp"
            "$build/cellglyph-prepare {picture} out.bmp --colours out.col" "${commands[@]}")
else
  echo "No $build/cellglyph-prepare: timing the recipes only." >&2
fi

# hyperfine runs every command on the first picture, then every command on the second.
pictures=(big.jpg small.png)
named=()
for picture in "${pictures[@]}"; do
  for name in "${names[@]}"; do named+=(-n "$name $picture"); done
done
hyperfine --shell=none --warmup 2 -L picture "$(IFS=,; echo "${pictures[*]}")" "${named[@]}" \
  "${commands[@]}" --export-markdown times.md >&2
cat times.md

echo
echo "| command | picture | peak memory (KiB) |"
echo "|---|---|---|"
for picture in "${pictures[@]}"; do
  for i in "${!commands[@]}"; do
    run=${commands[i]//\{picture\}/$picture}
    peak=$(/usr/bin/time -v bash -c "$run" 2>&1 >/dev/null |
           awk -F': ' '/Maximum resident set size/ {print $2}')
    echo "| ${names[i]} | $picture | $peak |"
  done
done
