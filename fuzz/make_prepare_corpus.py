#!/usr/bin/env python3
"""Writes the seeds of prepare_pixels_fuzz into prepare_corpus/ beside this
script: a few decoded pictures, each a 12-byte header (see the target's
opening comment) and a handful of pixels that repeat to fill it. Run it
again after changing it; inputs fuzzing found faults with (found_*) are
kept in the folder too and left alone.
"""
import pathlib
import struct

FIT = {'cover': 0, 'contain': 1, 'stretch': 2}
DARK, GLYPHS, COLOUR, NORMAL_ONLY, CUT, STRAY = 4, 8, 16, 32, 64, 128


def seed(fit, flags, orientation, width, height, pixels, brightness=128, contrast=128,
         background=0, inks=0, rows=0):
    header = struct.pack('<BBHHBBBHB', FIT[fit] | flags, orientation, width - 1, height - 1,
                         brightness, contrast, background, inks, rows)
    return header + bytes(pixels)


GREY = [128, 128, 128, 255]
RAMP = [0, 0, 0, 255, 64, 64, 64, 255, 160, 160, 160, 255, 255, 255, 255, 255, 30]
COLOURS = [250, 40, 40, 255, 40, 200, 60, 255, 20, 20, 230, 128, 0, 0, 0, 0, 240, 230, 30, 255]

SEEDS = {
    'one_pixel': seed('cover', 0, 1, 1, 1, GREY),
    'line_20000_across': seed('contain', DARK, 1, 20000, 1, RAMP),
    'line_20000_down': seed('cover', 0, 6, 1, 20000, RAMP),
    'wide_side_most': seed('stretch', STRAY, 3, 65535, 8, RAMP, brightness=200),
    'turned_8_contain': seed('contain', 0, 8, 33, 17, COLOURS, contrast=20),
    'orientation_unknown': seed('cover', DARK, 200, 9, 700, RAMP),
    'cut_short': seed('cover', CUT, 5, 40, 30, GREY, rows=29),
    'transparent': seed('contain', DARK, 1, 3, 2, [9, 9, 9, 0]),
    'glyphs_mono': seed('cover', GLYPHS, 1, 48, 30, RAMP),
    'glyphs_dirart_dark': seed('contain', GLYPHS | DARK | NORMAL_ONLY, 7, 30, 48, RAMP),
    'glyphs_colour': seed('cover', GLYPHS | COLOUR, 1, 37, 23, COLOURS, background=16,
                          inks=0xFFFF),
    'glyphs_colour_few_inks': seed('stretch', GLYPHS | COLOUR | NORMAL_ONLY, 2, 64, 40,
                                   COLOURS, background=6, inks=0b0000000001000110),
}

corpus = pathlib.Path(__file__).resolve().parent / 'prepare_corpus'
corpus.mkdir(exist_ok=True)
for name, data in SEEDS.items():
    (corpus / name).write_bytes(data)
