"""Test pictures for the picture decoders, made with Pillow where it can.

RECIPES maps a recipe name to a function(path, words) that writes the
picture to path. words are the recipe's further words; the raster recipes
take size=WxH (64x48 unless given). Every picture is the same content, so
that formats can be compared: a colour ramp across, a grey ramp down, and a
disc whose colour shows the orientation the rows are stored in.
"""
import io
import os
import struct
import subprocess
import tempfile
import zlib

from PIL import Image, ImageDraw

SIZE = (64, 48)


def size_of(words):
    for word in words:
        if word.startswith('size='):
            width, height = word[5:].split('x')
            return int(width), int(height)
    return SIZE


def content(words, mode='RGB'):
    width, height = size_of(words)
    picture = Image.new('RGB', (width, height))
    picture.putdata([(x * 255 // max(width - 1, 1), y * 255 // max(height - 1, 1), 96)
                     for y in range(height) for x in range(width)])
    # A disc near the top-left corner: where it ends up tells the orientation.
    ImageDraw.Draw(picture).ellipse((2, 2, 2 + height // 3, 2 + height // 3), fill=(250, 250, 40))
    return picture.convert(mode)


def save(picture, path, kind, **options):
    picture.save(path, kind, **options)


def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png_bytes(width, height, depth, colour_type, rows):
    """A PNG built by hand, for what Pillow does not write (48 and 64 bits a pixel)."""
    header = struct.pack('>IIBBBBB', width, height, depth, colour_type, 0, 0, 0)
    pixels = zlib.compress(b''.join(b'\0' + row for row in rows))
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) + png_chunk(b'IDAT', pixels)
            + png_chunk(b'IEND', b''))


def png_rgba_16(path, words):
    width, height = size_of(words)
    rgb = content(words)
    # Low bytes unrelated to the high ones: a decoder that takes the low byte
    # shows noise instead of the ramps, and one that rounds differs from one
    # that cuts.
    rows = []
    for y in range(height):
        pixels = (rgb.getpixel((x, y)) + (x * 255 // (width - 1),) for x in range(width))
        rows.append(b''.join(struct.pack('>4H', *(v * 256 + (x * 37 + y * 11 + i * 64) % 256
                                                  for i, v in enumerate(pixel)))
                             for x, pixel in enumerate(pixels)))
    open(path, 'wb').write(png_bytes(width, height, 16, 6, rows))


def png_grey_16(path, words):
    grey = content(words, 'L')
    width, height = grey.size
    values = (grey.getpixel((x, y)) * 256 + (x * 37 + y * 11) % 256
              for y in range(height) for x in range(width))
    grey16 = Image.frombytes('I;16', grey.size, b''.join(struct.pack('<H', v) for v in values))
    save(grey16, path, 'PNG')


def png_claims_huge(path, words):
    """A valid 1 x 1 PNG whose header (CRC corrected) says 100000 x 100000."""
    data = png_bytes(1, 1, 8, 0, [b'\x80'])
    header = struct.pack('>IIBBBBB', 100000, 100000, 8, 0, 0, 0, 0)
    open(path, 'wb').write(data[:8] + png_chunk(b'IHDR', header) + data[33:])


def bmp_claims_huge_top_down(path, words):
    """A 24-bit BMP header saying 20000 x 20000, stored top row first, then one row."""
    info = struct.pack('<IiiHHIIiiII', 40, 20000, -20000, 1, 24, 0, 0, 2835, 2835, 0, 0)
    open(path, 'wb').write(b'BM' + struct.pack('<IHHI', 0, 0, 0, 54) + info + bytes(60000))


def s15(value):
    return struct.pack('>i', round(value * 65536))


def icc_red_green_swapped():
    """A display profile (ICC 2.1) whose red primary is sRGB's green and whose
    green is sRGB's red: a decoder that applies it swaps the ramps."""
    xyz = lambda x, y, z: b'XYZ \0\0\0\0' + s15(x) + s15(y) + s15(z)
    gamma = b'curv\0\0\0\0' + struct.pack('>IH', 1, 563) + b'\0\0'  # 2.2 as 8.8 bits
    tags = [(b'wtpt', xyz(0.9642, 1.0, 0.8249)), (b'rXYZ', xyz(0.3851, 0.7169, 0.0971)),
            (b'gXYZ', xyz(0.4361, 0.2225, 0.0139)), (b'bXYZ', xyz(0.1431, 0.0606, 0.7139)),
            (b'rTRC', gamma), (b'gTRC', gamma), (b'bTRC', gamma)]
    offset, table, data = 128 + 4 + 12 * len(tags), b'', b''
    for signature, body in tags:
        table += signature + struct.pack('>II', offset + len(data), len(body))
        data += body
    size = offset + len(data)
    header = (struct.pack('>I4sI', size, b'\0' * 4, 0x02100000) + b'mntrRGB XYZ ' + bytes(12)
              + b'acsp' + bytes(24) + struct.pack('>I', 0) + s15(0.9642) + s15(1.0) + s15(0.8249)
              + bytes(48))
    return header + struct.pack('>I', len(tags)) + table + data


def jpeg_oriented(orientation):
    def make(path, words):
        exif = Image.Exif()
        exif[0x0112] = orientation
        save(content(words), path, 'JPEG', quality=90, exif=exif.tobytes())
    return make


def gif_two_frames(path, words):
    first = content(words).convert('P')
    second = Image.new('RGB', first.size, (0, 0, 255)).convert('P')
    first.save(path, 'GIF', save_all=True, append_images=[second], duration=100, loop=0)


def bmp_top_down(path, words):
    """A 24-bit BMP with its rows stored top row first: a negative height."""
    buffer = io.BytesIO()
    picture = content(words)
    picture.save(buffer, 'BMP')
    data = bytearray(buffer.getvalue())
    start, (width, height) = struct.unpack_from('<I', data, 10)[0], picture.size
    stride = (width * 3 + 3) // 4 * 4
    rows = [data[start + r * stride:start + (r + 1) * stride] for r in range(height)]
    struct.pack_into('<i', data, 22, -height)
    data[start:] = b''.join(reversed(rows))
    open(path, 'wb').write(data)


def bmp_rle8(path, words):
    """An 8-bit BMP compressed in runs (BI_RLE8), which Pillow reads but does not write."""
    picture = content(words, 'P')
    width, height = picture.size
    runs = bytearray()
    for y in reversed(range(height)):
        row = [picture.getpixel((x, y)) for x in range(width)]
        x = 0
        while x < width:
            count = 1
            while x + count < width and count < 255 and row[x + count] == row[x]:
                count += 1
            runs += bytes((count, row[x]))
            x += count
        runs += b'\0\0'
    runs[-1] = 1  # the last end of a row is the end of the picture
    palette = picture.getpalette()[:768]
    table = b''.join(bytes((palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0))
                     for i in range(256))
    offset = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 1, len(runs), 2835, 2835, 256, 0)
    with open(path, 'wb') as out:
        out.write(b'BM' + struct.pack('<IHHI', offset + len(runs), 0, 0, offset) + info + table
                  + runs)


def heif_lossless(path, words):
    """HEIF through Debian's heif-enc (libheif-examples), lossless: the same pixels whatever
    the encoder's version."""
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, 'source.png')
        save(content(words), source, 'PNG')
        subprocess.run(['heif-enc', '-L', '-o', path, source], check=True, capture_output=True)


def png_palette_alpha(path, words):
    # Index 0 fully transparent: decoders agree on such pixels only because
    # they deliver them as 0, 0, 0, 0 whatever the palette says.
    picture = content(words).convert('P', palette=Image.ADAPTIVE, colors=16)
    picture.save(path, 'PNG', transparency=0)


def png_alpha(path, words):
    picture = content(words, 'RGBA')
    width, height = picture.size
    picture.putalpha(Image.linear_gradient('L').transpose(Image.ROTATE_90).resize((width, height)))
    save(picture, path, 'PNG')


def cut_short(make, fraction):
    def cut(path, words):
        buffer = io.BytesIO()
        make(buffer, words)
        data = buffer.getvalue()
        open(path, 'wb').write(data[:len(data) * fraction // 100])
    return cut


def text(data):
    def write(path, words):
        open(path, 'wb').write(data)
    return write


SVG = b'''<svg xmlns="http://www.w3.org/2000/svg" width="64" height="48">
<rect width="64" height="48" fill="#204080"/><circle cx="12" cy="12" r="8" fill="#fafa28"/>
<path d="M4 44 L14 34 L24 44 Z" fill="white"/></svg>
'''

RECIPES = {
    'png_rgb': lambda path, words: save(content(words), path, 'PNG'),
    'png_grey': lambda path, words: save(content(words, 'L'), path, 'PNG'),
    'png_palette': lambda path, words: save(content(words, 'P'), path, 'PNG'),
    'png_palette_alpha': png_palette_alpha,
    'png_alpha': png_alpha,
    'png_grey_16': png_grey_16,
    'png_icc_swapped': lambda path, words: save(content(words), path, 'PNG',
                                                icc_profile=icc_red_green_swapped()),
    'png_rgba_16': png_rgba_16,
    'png_claims_huge': png_claims_huge,
    'bmp_claims_huge_top_down': bmp_claims_huge_top_down,
    'png_cut_short': cut_short(lambda out, words: save(content(words), out, 'PNG'), 60),
    'jpeg': lambda path, words: save(content(words), path, 'JPEG', quality=90),
    'jpeg_grey': lambda path, words: save(content(words, 'L'), path, 'JPEG', quality=90),
    'jpeg_orientation_6': jpeg_oriented(6),
    'jpeg_orientation_3': jpeg_oriented(3),
    'jpeg_orientation_8': jpeg_oriented(8),
    'jpeg_cmyk': lambda path, words: save(content(words, 'CMYK'), path, 'JPEG', quality=90),
    'jpeg_cut_short': cut_short(lambda out, words: save(content(words), out, 'JPEG', quality=90),
                                60),
    'gif_two_frames': gif_two_frames,
    'bmp_24': lambda path, words: save(content(words), path, 'BMP'),
    'bmp_top_down': bmp_top_down,
    'bmp_8': lambda path, words: save(content(words, 'P'), path, 'BMP'),
    'bmp_rle8': bmp_rle8,
    'heif': heif_lossless,
    'tiff': lambda path, words: save(content(words), path, 'TIFF'),
    'webp': lambda path, words: save(content(words), path, 'WEBP', lossless=True),
    'svg': text(SVG),
    'not_a_picture': text(b'These words are not a picture.\n'),
    'empty': text(b''),
}
