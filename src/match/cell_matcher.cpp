#include "match/cell_matcher.h"

#include <utility>

#include "bmp/pixel_data.h"
#include "driver/run_options.h"
#include "match/glyph_search.h"
#include "match/match_results.h"
#include "match/row_pattern.h"

namespace {

constexpr int CellRowBytes = GlyphRows * PixelRowBytes;

// Marks the cells of one cell row that differ from the cell before them in
// row-major order (the first cell of a row follows the last one of the row
// above).
void MarkChangedCells(int16_t row, uint8_t changed[CellColumns]) {
  for (int column = 0; column < CellColumns; ++column) changed[column] = 0;
  if (row == 0) changed[0] = 1;
  for (int line = 0; line < GlyphRows; ++line) {
    const uint8_t* pixels = &PixelData[row * CellRowBytes + line * PixelRowBytes];
    if (row > 0) changed[0] |= pixels[0] ^ pixels[CellColumns - 1 - CellRowBytes];
    for (int column = 1; column < CellColumns; ++column) changed[column] |= pixels[column] ^ pixels[column - 1];
  }
}

struct CellResult {
  uint64_t pattern;
  uint8_t glyph;
  int16_t samebits;
};

}  // namespace

// Background repeats one cell over and over, broken by small shapes. So a
// cell equal to the cell before it takes over that cell's result, and a cell
// equal to the last different cell before that (background again after a
// shape) takes over that one's; only other cells are searched.
void MatchCells() {
  CellResult current{};   // of the cell before this one
  CellResult previous{};  // of the last cell different from current
  int16_t searches = 0;
  for (int16_t row = 0; row < CellRows; ++row) {
    uint8_t changed[CellColumns];
    MarkChangedCells(row, changed);
    for (int16_t column = 0; column < CellColumns; ++column) {
      if (changed[column] != 0) {
        uint8_t cell[GlyphRows];
        for (int line = 0; line < GlyphRows; ++line) {
          cell[line] = PixelData[row * CellRowBytes + line * PixelRowBytes + column];
        }
        const uint64_t pattern = PackRows(cell);
        if (searches >= 2 && pattern == previous.pattern) {
          std::swap(current, previous);
        } else {
          previous = current;
          current.pattern = pattern;
          current.glyph = FindBestGlyph(cell, column, row);
          current.samebits = SameBitsGrid[row][column];
          ++searches;
        }
      }
      ScreenCodes[row * CellColumns + column] = current.glyph;
      SameBitsGrid[row][column] = current.samebits;
    }
  }
}

uint8_t FindBestGlyph(const uint8_t cell[8], int16_t column, int16_t row) {
  const GlyphMatch match = SearchGlyphs(PackRows(cell), dirartMode);
  SameBitsGrid[row][column] = match.samebits;
  return match.glyph;
}
