#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus into corpus/ beside this script.

Real images saved by tools and the bundled examples, then one file for every
kind of damage the header reader and the pixel loader have to survive.
Run it again after changing it; the files are kept in the repository.
"""
import pathlib
import shutil
import struct

here = pathlib.Path(__file__).resolve().parent
root = here.parent
corpus = here / "corpus"

HEADER = struct.Struct("<2sIHHIIiiHHIIiiII")


def header(**changes):
    """The 54 header bytes of a 320 x 200 1-bit image, with fields replaced."""
    values = dict(signature=b"BM", bfSize=8062, bfReserved1=0, bfReserved2=0, bfOffBits=62,
                  biSize=40, biWidth=320, biHeight=200, biPlanes=1, biBitCount=1,
                  biCompression=0, biSizeImage=8000, biXPelsPerMeter=2835,
                  biYPelsPerMeter=2835, biClrUsed=2, biClrImportant=2)
    values.update(changes)
    return HEADER.pack(*values.values())


COLOURS = bytes([0, 0, 0, 0, 255, 255, 255, 0])
# A pattern with no two rows alike, so rows in the wrong place show.
PIXELS = bytes((1 + p % 251) for p in range(8000))


def image(pixel_count=8000, **changes):
    return header(**changes) + COLOURS + PIXELS[:pixel_count]


def seeds():
    good = image()
    yield "empty", b""
    yield "one_byte", b"B"
    yield "signature_lower_case", b"bm" + good[2:]
    yield "signature_swapped", b"MB" + good[2:]
    yield "signature_only", b"BM"
    for cut in (6, 10, 14, 20, 22, 26, 30, 34, 53):
        yield f"header_cut_at_{cut}", good[:cut]
    yield "header_only", good[:54]
    yield "width_negative", image(biWidth=-320)
    yield "height_top_down", image(biHeight=-200)
    yield "width_all_ones", image(biWidth=-1)
    yield "bfsize_most_negative", image(bfSize=0x80000000)  # reads as -2147483648
    yield "bfsize_zero", image(bfSize=0)
    yield "offbits_negative", header(bfOffBits=2**32 - 40, bfSize=7960) + PIXELS
    yield "offbits_zero", header(bfOffBits=0, bfSize=8000) + PIXELS[:8000 - 54]
    yield "offbits_beyond_end", image(bfOffBits=100000, bfSize=108000)
    yield "size_8002", image(bfSize=8064)
    yield "size_32000_four_bit", header(bfSize=32118, bfOffBits=118, biBitCount=4) + bytes(64) + bytes(32000)
    yield "bitcount_4_size_8000", image(biBitCount=4)
    yield "bitcount_24", image(biBitCount=24)
    yield "compressed", image(biCompression=1)
    yield "pixels_half", image(pixel_count=4000)
    yield "pixels_short_by_20", image(pixel_count=7980)
    yield "pixels_none", image(pixel_count=0)
    yield "info_header_124", header(biSize=124, bfOffBits=146, bfSize=8146) + bytes(84) + COLOURS + PIXELS


def main():
    if corpus.exists():
        shutil.rmtree(corpus)
    corpus.mkdir()
    for source in sorted((root / "tests/bmp/fixtures").glob("*.bmp")) + sorted((root / "examples").glob("*.bmp")):
        shutil.copyfile(source, corpus / source.name)
    for name, content in seeds():
        (corpus / name).write_bytes(content)


if __name__ == "__main__":
    main()
