#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bmp/pixel_layout.h"
#include "match/cell_matcher.h"
#include "match/row_pattern.h"
#include "match/screen_layout.h"
#include "test_cells.h"

namespace {

uint8_t PixelData[PixelDataSize];
uint8_t ScreenCodes[CellCount];
int16_t SameBitsGrid[CellRows][CellColumns];

// Leftovers that every run must overwrite.
void SpoilResults() {
  std::fill(std::begin(ScreenCodes), std::end(ScreenCodes), uint8_t{0xEE});
  for (auto& row : SameBitsGrid) std::fill(std::begin(row), std::end(row), int16_t{-1});
}

// Every glyph, twins included, in cells next to different ones (7 is odd),
// so a swapped row and column or a wrong line order shows. The second cell,
// glyph 32, is blank while only one cell has been searched: there is no
// earlier result to take over yet.
std::vector<uint64_t> GlyphImage() {
  std::vector<uint64_t> cells(CellCount);
  for (int cell = 0; cell < CellCount; ++cell) cells[cell] = GlyphPatterns[(cell * 7 + 25) % GlyphCount];
  return cells;
}

// Runs of a few kinds of cell, and returns to an earlier kind after another,
// also across the end of a row: every case in which a cell might take over an
// earlier result. Some kinds differ only in their first or last line; some
// repeat one byte in all lines, so that comparing the wrong lines would find
// them equal.
std::vector<uint64_t> RepeatedCells(int kinds) {
  const uint64_t alphabet[5] = {~uint64_t{0}, ~uint64_t{0x5A}, 0x1818181818181818, ~(uint64_t{0xA5} << 56),
                                0x6666666666666666};
  std::mt19937_64 random(kinds);
  std::vector<uint64_t> cells(CellCount);
  for (uint64_t& cell : cells) cell = alphabet[random() % kinds];
  return cells;
}

TEST(MatchCells, GivesTheReferenceResultForEveryCell) {
  const int twins[] = {67, 93, 96, 106, 116, 195, 221, 224, 234, 244};  // never chosen
  const struct {
    const char* what;
    std::vector<uint64_t> cells;
  } images[] = {
      {"glyph patterns", GlyphImage()},      {"random", RandomCells(CellCount, 128)},
      {"all set", RepeatedCells(1)},         {"2 kinds of cell", RepeatedCells(2)},
      {"3 kinds of cell", RepeatedCells(3)}, {"5 kinds of cell", RepeatedCells(5)},
  };
  for (const auto& image : images) {
    for (const bool dirart : {false, true}) {
      SCOPED_TRACE(std::string(image.what) + (dirart ? ", dirart" : ""));
      // Line j of cell (row, column) is pixel row 8 x row + j, byte column.
      for (int cell = 0; cell < CellCount; ++cell) {
        for (int line = 0; line < 8; ++line) {
          PixelData[((cell / 40) * 8 + line) * 40 + cell % 40] = LineOf(image.cells[cell], line);
        }
      }
      SpoilResults();
      MatchCells(PixelData, dirart, ScreenCodes, SameBitsGrid);
      for (int cell = 0; cell < CellCount; ++cell) {
        const GlyphMatch found{ScreenCodes[cell], SameBitsGrid[cell / 40][cell % 40]};
        ASSERT_EQ(found, ReferenceMatch(image.cells[cell], dirart)) << "cell " << cell;
        ASSERT_EQ(std::count(std::begin(twins), std::end(twins), found.glyph), 0) << "cell " << cell;
        // Without dirart glyphs 32 and 160 are complements: one shares at least 32.
        ASSERT_GE(found.samebits, dirart ? 1 : &image == &images[0] ? 64 : 32) << "cell " << cell;
        ASSERT_LE(found.glyph, dirart ? 127 : 255) << "cell " << cell;
      }
    }
  }
}

TEST(FindBestGlyph, ReturnsTheGlyphAndItsCount) {
  const uint8_t complementOfGlyph0[8] = {0xC3, 0x99, 0x91, 0x91, 0x9F, 0x9D, 0xC3, 0xFF};
  EXPECT_EQ(FindBestGlyph(complementOfGlyph0, true), (GlyphMatch{98, 41}));
  EXPECT_EQ(FindBestGlyph(complementOfGlyph0, false), (GlyphMatch{128, 63}));
}

}  // namespace
