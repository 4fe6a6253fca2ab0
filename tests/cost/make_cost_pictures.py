#!/usr/bin/env python3
"""Makes the pictures that are small on disk but large as pictures, into a folder.

Usage: make_cost_pictures.py FOLDER [NAME ...]   (no names: all of them)

Each is made at test time, by Pillow (Debian's python3-pil) or written here byte by byte where a
picture of one value is quicker to write than to encode.
"""
import io
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image


def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png_of_zeros(width, height, depth=8):
    """A grey PNG whose rows are all 0, compressed row by row."""
    packer = zlib.compressobj(9)
    row = bytes(width * depth // 8 + 1)  # filter type 0, then the pixels
    body = b''.join(packer.compress(row) for _ in range(height)) + packer.flush()
    header = struct.pack('>IIBBBBB', width, height, depth, 0, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) + png_chunk(b'IDAT', body)
            + png_chunk(b'IEND', b''))


def png_interlaced_claim(width, height):
    """The header of an interlaced PNG, and no pixels: refused on its header alone."""
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 1)
    return b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) + png_chunk(b'IEND', b'')


def webp_claim(chunk, data):
    """A WebP of one chunk that states a size and holds no picture."""
    body = b'WEBP' + chunk + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


def bmp_one_bit(width, height):
    """A 1-bit BMP, bottom-up, every pixel 0: a sound file, only large."""
    stride = (width + 31) // 32 * 4
    offset = 14 + 40 + 8
    size = offset + stride * height
    header = b'BM' + struct.pack('<IHHI', size, 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 1, 0, stride * height, 2835, 2835,
                       2, 2)
    return header + info + b'\0\0\0\0\xff\xff\xff\0' + bytes(stride * height)


class Bits:
    """Bits written least significant first, as a lossless WebP holds them."""
    def __init__(self):
        self.value, self.count = 0, 0

    def put(self, value, count):
        self.value |= value << self.count
        self.count += count

    def bytes(self):
        return self.value.to_bytes((self.count + 7) // 8, 'little')


def webp_one_colour(width, height, red, green, blue):
    """A lossless WebP whose prefix codes each hold one symbol: every pixel is the same colour
    and takes no bits, so that a picture of any size is a few bytes."""
    bits = Bits()
    bits.put(0x2f, 8)
    bits.put(width - 1, 14)
    bits.put(height - 1, 14)
    bits.put(0, 4)  # no alpha, version 0
    bits.put(0, 3)  # no transform, no colour cache, no meta prefix codes
    for symbol in (green, red, blue, 255, 0):  # green, red, blue, alpha, distance
        bits.put(0b101, 3)  # a simple code of one symbol, written in 8 bits
        bits.put(symbol, 8)
    data = bits.bytes() + b'\0' * (len(bits.bytes()) % 2)
    chunk = b'VP8L' + struct.pack('<I', len(bits.bytes())) + data
    return b'RIFF' + struct.pack('<I', 4 + len(chunk)) + b'WEBP' + chunk


def tiff_one_strip(width, height):
    """An 8-bit grey TIFF of one deflated strip: a decoder inflates the whole picture at once."""
    strip = zlib.compress(bytes(width * height), 9)
    entries = [(256, 4, width), (257, 4, height), (258, 3, 8), (259, 3, 8), (262, 3, 1),
               (273, 4, 8), (277, 3, 1), (278, 4, height), (279, 4, len(strip))]
    directory = struct.pack('<H', len(entries)) + b''.join(
        struct.pack('<HHII', tag, kind, 1, value) if kind == 4 else
        struct.pack('<HHIHH', tag, kind, 1, value, 0) for tag, kind, value in entries)
    return b'II*\0' + struct.pack('<I', 8 + len(strip)) + strip + directory + bytes(4)


def noise(width, height, mode):
    """Noise on a gradient: a picture that compresses about as badly as a photo."""
    grain = Image.effect_noise((width, height), 80)
    ramp = Image.linear_gradient('L').resize((width, height))
    return Image.merge('RGB', (grain, ramp, grain.transpose(Image.FLIP_LEFT_RIGHT))).convert(mode)


def encoded(image, form, **options):
    out = io.BytesIO()
    image.save(out, form, **options)
    return out.getvalue()


def gif_frames(side, count):
    """A GIF of `count` frames of side x side, all one colour: the first frame's image block
    repeated."""
    one = encoded(Image.new('P', (side, side), 0), 'GIF')
    block = 13 + (3 << ((one[10] & 7) + 1) if one[10] & 0x80 else 0)  # past the colour table
    while one[block] == 0x21:  # an extension: its label, then sub-blocks up to an empty one
        block += 2
        while one[block]:
            block += one[block] + 1
        block += 1
    return one[:block] + one[block:-1] * count + b'\x3b'


PICTURES = {
    'gif_16000': lambda: encoded(Image.new('P', (16000, 16000), 0), 'GIF'),
    'webp_16383': lambda: webp_one_colour(16383, 16383, 40, 90, 160),
    'bmp_20000x13000': lambda: bmp_one_bit(20000, 13000),
    'tiff_20000x13000': lambda: encoded(Image.new('L', (20000, 13000), 128), 'TIFF',
                                        compression='tiff_adobe_deflate'),
    'png_16000': lambda: png_of_zeros(16000, 16000),
    'png_65535x4096': lambda: png_of_zeros(65535, 4096),
    'jpeg_16000': lambda: encoded(Image.new('L', (16000, 16000), 128), 'JPEG', quality=75),
    'gif_frames': lambda: gif_frames(2000, 64),
    'tiff_one_strip_8000x6000': lambda: tiff_one_strip(8000, 6000),
    'png_deep_4000x3000': lambda: png_of_zeros(4000, 3000, 16),
    'png_interlaced_claims_3000x3000': lambda: png_interlaced_claim(3000, 3000),
    'webp_lossy_claims_16383x9000': lambda: webp_claim(
        b'VP8 ', b'\0\0\0\x9d\x01\x2a' + struct.pack('<HH', 16383, 9000) + bytes(8)),
    'webp_extended_claims_16384x16384': lambda: webp_claim(
        b'VP8X', b'\0\0\0\0' + (16383).to_bytes(3, 'little') * 2),
    # At or near the limits: taken within the budget where the platform's limit allows.
    'bmp_2048x1536': lambda: encoded(noise(2048, 1536, 'RGBA'), 'BMP'),
    'gif_3840x2880': lambda: encoded(noise(3840, 2880, 'RGB').quantize(256), 'GIF'),
    'jpeg_4096x3072': lambda: encoded(noise(4096, 3072, 'RGB'), 'JPEG', quality=95,
                                      subsampling=0),
    'jpeg_progressive_3072x2304': lambda: encoded(noise(3072, 2304, 'RGB'), 'JPEG', quality=95,
                                                  subsampling=0, progressive=True),
    'png_3840x2880': lambda: encoded(noise(3840, 2880, 'RGBA'), 'PNG', compress_level=1),
    'webp_4096x3072': lambda: encoded(noise(4096, 3072, 'RGB'), 'WEBP', quality=95, method=0),
}


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name in sys.argv[2:] or PICTURES:
        (folder / name).write_bytes(PICTURES[name]())


if __name__ == '__main__':
    main()
