#pragma once
#include <cstdint>

// Matches every 8 x 8 cell of PixelData against the glyph table (glyphs 0 to
// 127 only when dirartMode is set) and fills all of ScreenCodes and
// SameBitsGrid, row by row from the top.
void MatchCells();

// Finds the best glyph for one cell, given its 8 lines top first; stores its
// samebits into SameBitsGrid[row][column] and returns its number.
uint8_t FindBestGlyph(const uint8_t cell[8], int16_t column, int16_t row);
