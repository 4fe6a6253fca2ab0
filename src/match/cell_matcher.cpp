#include "match/cell_matcher.h"

#include <utility>

#include "match/row_pattern.h"

namespace {

constexpr int CellRowBytes = GlyphRows * PixelRowBytes;

// Marks the cells of one cell row that differ from the cell before them in
// row-major order (the first cell of a row follows the last one of the row
// above).
void MarkChangedCells(const uint8_t (&pixelData)[PixelDataSize], int16_t row,
                      uint8_t changed[CellColumns]) {
  for (int column = 0; column < CellColumns; ++column) changed[column] = 0;
  if (row == 0) changed[0] = 1;
  for (int line = 0; line < GlyphRows; ++line) {
    const uint8_t* pixels = &pixelData[row * CellRowBytes + line * PixelRowBytes];
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
void MatchCells(const uint8_t (&pixelData)[PixelDataSize], bool normalGlyphsOnly,
                uint8_t (&screenCodes)[CellCount], int16_t (&sameBitsGrid)[CellRows][CellColumns]) {
  CellResult current{};   // of the cell before this one
  CellResult previous{};  // of the last cell different from current
  int16_t searches = 0;
  for (int16_t row = 0; row < CellRows; ++row) {
    uint8_t changed[CellColumns];
    MarkChangedCells(pixelData, row, changed);
    for (int16_t column = 0; column < CellColumns; ++column) {
      if (changed[column] != 0) {
        uint8_t cell[GlyphRows];
        for (int line = 0; line < GlyphRows; ++line) {
          cell[line] = pixelData[row * CellRowBytes + line * PixelRowBytes + column];
        }
        const uint64_t pattern = PackRows(cell);
        // previous holds a searched result only from the second search on:
        // before that it is the all-zero start value, whose pattern 0 (a
        // blank cell) would wrongly take glyph 0 with no samebits. Once two
        // searches are done, previous and current are both real results.
        if (searches >= 2 && pattern == previous.pattern) {
          std::swap(current, previous);
        } else {
          const GlyphMatch match = FindBestGlyph(cell, normalGlyphsOnly);
          previous = current;
          current = CellResult{pattern, match.glyph, match.samebits};
          ++searches;
        }
      }
      screenCodes[row * CellColumns + column] = current.glyph;
      sameBitsGrid[row][column] = current.samebits;
    }
  }
}

GlyphMatch FindBestGlyph(const uint8_t cell[8], bool normalGlyphsOnly) {
  return SearchGlyphs(PackRows(cell), normalGlyphsOnly);
}
