// Drawing screen codes into pixel rows: each code lands in its own cell, as
// the glyph's rows, top row first.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/screen_drawing.h"

namespace {

struct CellCase {
  int row;
  int column;
  uint8_t code;
  uint64_t pattern;  // the glyph's 8 rows, row 0 in the top byte
};

// Everything is code 32 (all clear) but one cell.
TEST(ScreenDrawing, ACodeIsDrawnIntoItsOwnCell) {
  const CellCase cases[] = {
      {0, 0, 0, 0x3C666E6E60623C00},    // @
      {0, 39, 1, 0x183C667E66666600},   // A, right edge
      {24, 0, 128, 0xC39991919F99C3FF}, // reverse @, row 5 is not a plain complement
      {24, 39, 160, 0xFFFFFFFFFFFFFFFF},
      {12, 17, 127, 0xF0F0F0F00F0F0F0F},
      {7, 3, 255, 0x0F0F0F0FF0F0F0F0},
  };
  for (const CellCase& c : cases) {
    std::vector<uint8_t> screen(1000, 32);
    screen[static_cast<size_t>(c.row * 40 + c.column)] = c.code;
    std::vector<uint8_t> pixels(8000, 0xEE);
    DrawScreen(screen.data(), pixels.data());
    std::vector<uint8_t> expected(8000, 0);
    for (int line = 0; line < 8; ++line)
      expected[static_cast<size_t>((c.row * 8 + line) * 40 + c.column)] =
          static_cast<uint8_t>(c.pattern >> (8 * (7 - line)));
    EXPECT_EQ(pixels, expected) << "code " << int{c.code} << " at " << c.row << ", " << c.column;
  }
}

TEST(ScreenDrawing, NeighbouringCellsDoNotMix) {
  // A checkerboard of all-set and all-clear cells.
  std::vector<uint8_t> screen(1000);
  for (int cell = 0; cell < 1000; ++cell) screen[cell] = (cell / 40 + cell % 40) % 2 ? 160 : 32;
  std::vector<uint8_t> pixels(8000, 0x5A);
  DrawScreen(screen.data(), pixels.data());
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(pixels[y * 40 + x], (y / 8 + x) % 2 ? 0xFF : 0x00) << "pixel row " << y << " byte " << x;
}

}  // namespace
