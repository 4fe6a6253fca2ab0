#!/usr/bin/env python3
"""Makes the pictures that are small on disk but large as pictures, into a folder.

Usage: make_cost_pictures.py FOLDER [NAME ...]   (no names: all of them)

Each is made at test time, by Pillow (Debian's python3-pil), or written here byte by byte where
Pillow cannot store the picture so, or where its header alone is to be refused.
"""
import io
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image


def png_claim(width, height, depth, colour, interlace):
    """The signature and header of a PNG, and nothing after them: refused on its header alone,
    before its checksum or pixels are looked at."""
    header = struct.pack('>IIBBBBB', width, height, depth, colour, 0, 0, interlace)
    return b'\x89PNG\r\n\x1a\n' + struct.pack('>I', 13) + b'IHDR' + header + bytes(4)


def webp_claim(chunk, data):
    """A WebP of one chunk that states a size and holds no picture."""
    body = b'WEBP' + chunk + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


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
    'webp_16383': lambda: webp_claim(b'VP8L', b'\x2f' + (16382 | 16382 << 14).to_bytes(4, 'little')
                                     + bytes(8)),
    'bmp_20000x13000': lambda: encoded(Image.new('1', (20000, 13000)), 'BMP'),
    'tiff_20000x13000': lambda: encoded(Image.new('L', (20000, 13000), 128), 'TIFF',
                                        compression='tiff_adobe_deflate'),
    'png_16000': lambda: encoded(Image.new('L', (16000, 16000)), 'PNG'),
    'png_65535x4096': lambda: encoded(Image.new('L', (65535, 4096)), 'PNG'),
    'jpeg_16000': lambda: encoded(Image.new('L', (16000, 16000), 128), 'JPEG', quality=75),
    'gif_frames': lambda: gif_frames(2000, 64),
    'tiff_one_strip_8000x6000': lambda: tiff_one_strip(8000, 6000),
    'png_deep_4000x3000': lambda: encoded(Image.new('I;16', (4000, 3000)), 'PNG'),
    'png_interlaced_claims_3000x3000': lambda: png_claim(3000, 3000, 8, 2, 1),
    'webp_lossy_claims_16383x9000': lambda: webp_claim(
        b'VP8 ', b'\0\0\0\x9d\x01\x2a' + struct.pack('<HH', 16383, 9000) + bytes(8)),
    'webp_extended_claims_16384x16384': lambda: webp_claim(
        b'VP8X', b'\0\0\0\0' + (16383).to_bytes(3, 'little') * 2),
    # At or near the limits: taken within the budget where the platform's limit allows.
    'bmp_2048x1536': lambda: encoded(noise(2048, 1536, 'RGBA'), 'BMP'),
    'bmp_16384x8192': lambda: encoded(Image.linear_gradient('L').resize((16384, 8192)).convert('1'),
                                      'BMP'),
    'gif_3840x2880': lambda: encoded(noise(3840, 2880, 'RGB').quantize(256), 'GIF'),
    'jpeg_4096x3072': lambda: encoded(noise(4096, 3072, 'RGB'), 'JPEG', quality=95,
                                      subsampling=0),
    'jpeg_progressive_3072x2304': lambda: encoded(noise(3072, 2304, 'RGB'), 'JPEG', quality=95,
                                                  subsampling=0, progressive=True),
    'png_3840x2880': lambda: encoded(noise(3840, 2880, 'RGBA'), 'PNG', compress_level=1),
    # At quality 95 the encoder cannot hold this much noise in its first partition.
    'webp_5120x4096': lambda: encoded(noise(5120, 4096, 'RGB'), 'WEBP', quality=80, method=0),
}


def main():
    """Makes the pictures named, or all, into the folder; one already there and newer than this
    script is kept."""
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name in sys.argv[2:] or PICTURES:
        path = folder / name
        if not path.exists() or path.stat().st_mtime < Path(__file__).stat().st_mtime:
            path.write_bytes(PICTURES[name]())


if __name__ == '__main__':
    main()
