#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"
#include "match/glyph_table.h"

// The screen that matching fills: the picture cut into cells of one glyph
// each, GlyphRows pixel rows high and one byte of a pixel row wide, which
// gives 25 rows of 40 cells. Row-major, one screen code a cell (byte 40 x
// row + column), and beside it the samebits of every cell's chosen glyph.
inline constexpr int CellRows = PixelRows / GlyphRows;
inline constexpr int CellColumns = PixelRowBytes;
inline constexpr int CellCount = CellRows * CellColumns;
static_assert(CellRows * GlyphRows == PixelRows, "the picture holds whole rows of cells");
