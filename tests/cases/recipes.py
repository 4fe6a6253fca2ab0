"""The files a case makes before its run: "input NAME RECIPE WORDS...".

RECIPES maps each recipe's name to a function(path, words) that makes the
file at path from the words after the name; it runs in the run's folder and
raises CaseError for words it does not know. tests/cases/picture_recipes.py,
when it is there, adds the recipes in its own RECIPES table."""
import os, random, re

from case_file import CaseError

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def options(words, names):
    """NAME=VALUE words, each NAME one of names."""
    found = {}
    for word in words:
        name, equals, value = word.partition('=')
        if not equals or name not in names:
            raise CaseError('"%s" is none of %s' % (word, ', '.join(n + '=' for n in names)))
        found[name] = value
    return found


def write(path, data):
    with open(path, 'wb') as out:
        out.write(data)


# Glyphs, pictures and matching, from the glyph sheet beside this file: data
# kept apart from the program's own table, so that each checks the other.
def glyphs():
    rows = [l.strip() for l in open(os.path.join(HERE, 'glyphs.txt'))
            if re.fullmatch(r'[.#]{8}\n?', l)]
    return [int(''.join('1' if c == '#' else '0' for r in rows[g * 8:g * 8 + 8] for c in r), 2)
            for g in range(256)]


def cell_pattern(rows, cell):
    """A cell's 8 pixel bytes as one number, its top line first."""
    lines = (rows[((cell // 40) * 8 + line) * 40 + cell % 40] for line in range(8))
    return int.from_bytes(bytes(lines), 'big')


def pixels_of_screen(codes):
    sheet, rows = glyphs(), bytearray(8000)
    for cell, code in enumerate(codes):
        for line in range(8):
            at = ((cell // 40) * 8 + line) * 40 + cell % 40
            rows[at] = sheet[code] >> (8 * (7 - line)) & 0xFF
    return rows


def match(rows, highest):
    """Each cell's glyph: the lowest of those with the most pixels alike."""
    sheet, codes = glyphs()[:highest + 1], bytearray()
    for cell in range(1000):
        same = [64 - bin(cell_pattern(rows, cell) ^ g).count('1') for g in sheet]
        codes.append(same.index(max(same)))
    return codes


# The header fields in file order, with their widths and the values of the
# 1-bit form the renderer writes.
FIELDS = [('bfSize', 4, 8062), ('bfReserved1', 2, 0), ('bfReserved2', 2, 0),
          ('bfOffBits', 4, 62), ('biSize', 4, 40), ('biWidth', 4, 320), ('biHeight', 4, 200),
          ('biPlanes', 2, 1), ('biBitCount', 2, 1), ('biCompression', 4, 0),
          ('biSizeImage', 4, 8000), ('biXPelsPerMeter', 4, 2835), ('biYPelsPerMeter', 4, 2835),
          ('biClrUsed', 4, 2), ('biClrImportant', 4, 2)]


def bmp_bytes(rows, **values):
    """Rows bottom-up after a black and white colour table."""
    head = b'BM' + b''.join((values.get(name, value) & (1 << 8 * width) - 1)
                            .to_bytes(width, 'little') for name, width, value in FIELDS)
    pixels = b''.join(rows[r * 40:r * 40 + 40] for r in range(199, -1, -1))
    return head + b'\0\0\0\0\xff\xff\xff\0' + pixels


def bmp(path, words):
    """bmp [pixels=blank|random:SEED|mosaic|stripes] [FIELD=N]... [cut=N]"""
    values = options(words, ['pixels', 'cut'] + [name for name, _, _ in FIELDS])
    pixels, cut = values.pop('pixels', 'blank'), int(values.pop('cut', -1))
    if pixels.startswith('random:'):
        generator = random.Random(int(pixels[7:]))
        rows = bytes(generator.getrandbits(8) for _ in range(8000))
    elif pixels == 'mosaic':
        rows = pixels_of_screen([c % 256 for c in range(1000)])
    elif pixels == 'stripes':
        rows = bytes(0x00 if (r // 8) % 2 else 0xFF for r in range(200) for _ in range(40))
    elif pixels == 'blank':
        rows = bytes(8000)
    else:
        raise CaseError('unknown pixels "%s"' % pixels)
    data = bmp_bytes(rows, **{name: int(value, 0) for name, value in values.items()})
    write(path, data if cut < 0 else data[:cut])


def screen(path, words):
    """screen ramp|fill:N [size=N]: codes 0 to 255 over and over, or N throughout"""
    if not words or not re.fullmatch('ramp|fill:[0-9]+', words[0]):
        raise CaseError('a screen is "ramp" or "fill:N", not %s' % words[:1])
    size = int(options(words[1:], ['size']).get('size', 1000))
    write(path, bytes(i % 256 if words[0] == 'ramp' else int(words[0][5:]) for i in range(size)))


def reference(path, words):
    """reference FILE normal|dirart: the screen codes matched afresh from FILE"""
    if len(words) != 2 or words[1] not in ('normal', 'dirart'):
        raise CaseError('reference takes a file and normal or dirart')
    data, rows = open(words[0], 'rb').read(), bytearray(8000)
    for r in range(200):  # bytes the file does not have stay 0
        rows[(199 - r) * 40:(200 - r) * 40] = data[62 + r * 40:102 + r * 40].ljust(40, b'\0')
    write(path, bytes(match(rows, 127 if words[1] == 'dirart' else 255)))


def preview(path, words):
    """preview ramp: the renderer's BMP of the screen "screen ramp" makes"""
    if words != ['ramp']:
        raise CaseError('preview takes "ramp"')
    write(path, bmp_bytes(pixels_of_screen([c % 256 for c in range(1000)])))


def fifo(path, words):
    if words:
        raise CaseError('fifo takes no words')
    os.mkfifo(path)


def copy(path, words):
    """copy PATH: a file of the project, PATH relative to its top folder"""
    if len(words) != 1:
        raise CaseError('copy takes one path')
    write(path, open(os.path.join(ROOT, words[0]), 'rb').read())


RECIPES = {
    'copy': copy,
    'text': lambda path, words: write(path, ' '.join(words).encode()),
    'bmp': bmp, 'screen': screen, 'reference': reference, 'preview': preview, 'fifo': fifo,
}
if os.path.exists(os.path.join(HERE, 'picture_recipes.py')):
    import picture_recipes
    for name, function in picture_recipes.RECIPES.items():
        if name in RECIPES:
            raise CaseError('picture_recipes.py takes the recipe name "%s" again' % name)
        RECIPES[name] = function


def make_input(name, recipe):
    """The file NAME (bytes, in the current folder) made by the recipe words."""
    if not recipe or recipe[0] not in RECIPES:
        raise CaseError('unknown input recipe "%s": the recipes are %s'
                        % (' '.join(recipe[:1]), ', '.join(sorted(RECIPES))))
    path = os.fsdecode(os.path.abspath(name))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    RECIPES[recipe[0]](path, recipe[1:])
