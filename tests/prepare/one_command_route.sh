#!/bin/bash
# Every output of cellglyph-prepare's one command against today's route of
# three programs (prepare to a BMP, cellglyph, then export or render), byte
# for byte, in one ink (drawn in the colours prepare chose, from its colour
# file), inverted with the converter's dirart set, and in colour. The
# picture is made here by Pillow: a lit sphere with stripes and a coloured
# rim. Natively and, in the cross build, under the emulator.
#
#   one_command_route.sh BUILD [EMULATOR...]
set -eu
build=$1
shift
run=("$@")
suffix=
[ $# -gt 0 ] && suffix=.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"${PYTHON:-python3}" -c '
from PIL import Image, ImageDraw
p = Image.radial_gradient("L").resize((480, 300)).convert("RGB")
d = ImageDraw.Draw(p)
for x in range(0, 480, 37): d.line((x, 0, x + 90, 300), fill=(200, 40 + x // 4, 30), width=5)
d.ellipse((300, 40, 460, 200), outline=(20, 90, 220), width=12)
p.save("picture.png")'
program() { "${run[@]}" "$build/$1$suffix" "${@:2}" >/dev/null; }
formats=(bin prg asm seq petmate)
if [ $# -eq 0 ]; then formats+=(png); fi  # the cross build has no PNG output

# The one command's options | prepare's | cellglyph's set | export's | export's for .asm
rows=(
  "|three.col|normal|--colours three.col|"
  "--invert --dirart --method threshold|--invert --dirart --method threshold|dirart|--ink 0 \
--background 1 --border 1|"
  "--colour --background 6 --dialect acme|--colours three.col --background 6|normal|--colours \
three.col|--colours three.col --dialect acme"
)
status=0
for row in "${rows[@]}"; do
  IFS='|' read -r one prepare set look asm <<<"$row"
  rm -f one.* three.*
  program cellglyph-prepare picture.png one.bmp "${formats[@]/#/one.}" one.col $one
  program cellglyph-prepare picture.png three.bmp $prepare
  program cellglyph three.bmp three.bin "$set" 0
  for format in "${formats[@]}"; do
    case $format in
      bin) continue ;;
      png) program cellglyph-render three.bin three.png ${look/--border ?/} ;;
      seq) program cellglyph-export three.bin three.seq ${look/--background ? --border ?/} ;;
      asm) program cellglyph-export three.bin three.asm $asm ;;
      *) program cellglyph-export three.bin "three.$format" $look ;;
    esac
  done
  [ -e three.col ] || cp one.col three.col
  for format in bmp col "${formats[@]}"; do
    if ! cmp -s "one.$format" "three.$format"; then
      echo "differs: .$format with options \"$one\"" >&2
      status=1
    fi
  done
done
exit $status
