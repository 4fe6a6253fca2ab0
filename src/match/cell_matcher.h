#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"
#include "match/glyph_search.h"
#include "match/screen_layout.h"

// Matches every 8 x 8 cell of pixelData against the glyph table (glyphs 0 to
// 127 only when normalGlyphsOnly is set) and fills all of screenCodes and
// sameBitsGrid, row by row from the top.
void MatchCells(const uint8_t (&pixelData)[PixelDataSize], bool normalGlyphsOnly,
                uint8_t (&screenCodes)[CellCount], int16_t (&sameBitsGrid)[CellRows][CellColumns]);

// The best glyph for one cell, given its 8 lines top first.
GlyphMatch FindBestGlyph(const uint8_t cell[8], bool normalGlyphsOnly);
