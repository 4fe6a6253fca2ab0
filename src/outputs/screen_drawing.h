#pragma once
#include <cstdint>

#include "match/character_sets.h"

// Draws a screen of 1000 screen codes (40 x 25, row by row) with the glyph
// table of the character set: each cell's 8 lines become the glyph's 8 rows. pixelRows has the
// layout of PixelData: 200 rows of 40 bytes, top row first, bit 7 the
// leftmost pixel, a set bit the glyph's foreground.
void DrawScreen(const uint8_t* screenCodes, uint8_t* pixelRows,
                CharacterSet set = CharacterSet::Upper);
