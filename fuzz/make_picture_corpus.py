#!/usr/bin/env python3
"""Writes the picture fuzz target's seeds into picture_corpus/ beside this
script: every test picture of the cases at 16 x 12 pixels, each after the
byte the target reads as the least side (3, which shrinks a JPEG to 1/4).
Run it again after changing it; the files are kept in the repository,
with the inputs fuzzing found faults with (found_*), which it leaves alone.
"""
import pathlib
import sys
import tempfile

here = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(here.parent / 'tests' / 'cases'))
from picture_recipes import RECIPES  # noqa: E402

LEAST_SIDE = bytes([3])
MOST_BYTES = 2048

corpus = here / 'picture_corpus'
corpus.mkdir(exist_ok=True)
with tempfile.TemporaryDirectory() as work:
    for name, make in RECIPES.items():
        picture = pathlib.Path(work) / name
        make(str(picture), ['size=16x12'])
        data = LEAST_SIDE + picture.read_bytes()
        if len(data) > MOST_BYTES:
            sys.exit(f'{name}: {len(data)} bytes, more than {MOST_BYTES}')
        (corpus / name).write_bytes(data)
