#!/usr/bin/python3
"""Runs the decode probe of the native build and of the Windows build (under
Wine) on every test picture and shows where the two decoders differ.

  compare_decoders.py NATIVE_PROBE WINDOWS_PROBE.exe WINE_PREFIX [LEAST_SIDE]

Where both decode a picture, the rows are compared pixel by pixel: the
largest difference of any channel and how many pixels differ at all.
Exit status 1 for a difference other than those Wine is known for.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'cases'))
from picture_recipes import RECIPES  # noqa: E402

WINE_RUN = os.path.join(HERE, '..', '..', 'cmake', 'wine-run.sh')
# What Wine's imaging component does differently from libvips.
KNOWN_ON_WINE = {
    'webp': 'no WebP decoder',
    'svg': 'no SVG decoder',
    'png_icc_swapped': 'no colour profiles',
    'jpeg_cmyk': 'CMYK without a profile taken as plain ink',
    'jpeg': 'chroma upsampled otherwise',
    'jpeg_orientation_6': 'chroma upsampled otherwise',
    'jpeg_orientation_3': 'chroma upsampled otherwise',
}


def probe(command, work, picture, rows, least_side):
    """Names relative to the work folder: Wine takes them as they are."""
    line = subprocess.run(command + [picture, least_side, rows], capture_output=True, text=True,
                          cwd=work).stdout.strip().split()
    rows = os.path.join(work, rows)
    data = open(rows, 'rb').read() if os.path.exists(rows) else b''
    return line, data


def compare_rows(native, windows):
    pixels = [(native[i:i + 4], windows[i:i + 4]) for i in range(0, len(native), 4)]
    differing = [max(abs(a - b) for a, b in zip(p, q)) for p, q in pixels if p != q]
    return max(differing, default=0), len(differing)


def main(native_probe, windows_probe, wine_prefix, least_side='65535'):
    wine = [WINE_RUN, '--prefix', os.path.abspath(wine_prefix), os.path.abspath(windows_probe)]
    native_probe = os.path.abspath(native_probe)
    faults = 0
    with tempfile.TemporaryDirectory() as work:
        for name, make in RECIPES.items():
            make(os.path.join(work, name), [])
            native, native_rows = probe([native_probe], work, name, name + '.posix', least_side)
            windows, windows_rows = probe(wine, work, name, name + '.win32', least_side)
            if not native or not windows:
                print(f'{name:20} probe failed: {native} {windows}')
                faults += 1
                continue
            note = ''
            if native[0] != windows[0] or native[0] == 'Decoded' and native[1:4] != windows[1:4]:
                note = 'outcome differs'
            elif native[0] == 'Decoded' and native_rows != windows_rows:
                largest, count = compare_rows(native_rows, windows_rows)
                note = f'{count} pixels differ, by up to {largest}'
            if note and name in KNOWN_ON_WINE:
                note += f' (known: {KNOWN_ON_WINE[name]})'
            elif note:
                note = note.upper()
                faults += 1
            print(f'{name:20} {" ".join(native):48} {" ".join(windows):48} {note}')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
