#!/usr/bin/env python3
"""Reads the Petmate workspace named on the command line, checks that it has
the form the editor loads (version 2, one screen of 40 x 25 cells in the set
named after it, upper or lower, each cell only a code and a colour) and writes the cells'
codes, their colours, the border and the background colour to standard
output, a byte each: the screen file, then the colour file."""
import json
import sys

document = json.load(open(sys.argv[1], encoding='ascii'))
assert document['version'] == 2 and document['screens'] == [0], 'workspace'
assert document['customFonts'] == {}, 'custom fonts'
(screen,) = document['framebufs']
assert (screen['width'], screen['height'], screen['charset']) == (40, 25, sys.argv[2]), 'size'
rows = screen['framebuf']
assert len(rows) == 25 and all(len(row) == 40 for row in rows), 'rows'
cells = [cell for row in rows for cell in row]
assert all(sorted(cell) == ['code', 'color'] for cell in cells), 'cells'
sys.stdout.buffer.write(bytes([cell['code'] for cell in cells] + [cell['color'] for cell in cells]
                              + [screen['borderColor'], screen['backgroundColor']]))
