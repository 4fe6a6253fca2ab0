#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "bmp/pixel_data.h"
#include "driver/run_options.h"
#include "match/cell_matcher.h"
#include "match/match_results.h"
#include "match/row_pattern.h"
#include "reference_matcher.h"
#include "test_cells.h"

namespace {

// Line j of the cell at (row, column) is pixel row 8 x row + j, byte column.
void PutCell(int row, int column, uint64_t pattern) {
  const CellLines cell = UnpackRows(pattern);
  for (int line = 0; line < 8; ++line) PixelData[(row * 8 + line) * 40 + column] = cell.line[line];
}

CellLines TakeCell(int row, int column) {
  CellLines cell{};
  for (int line = 0; line < 8; ++line) cell.line[line] = PixelData[(row * 8 + line) * 40 + column];
  return cell;
}

class MatchCellsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::fill(std::begin(PixelData), std::end(PixelData), uint8_t{0});
    // Leftovers that every run must overwrite.
    std::fill(std::begin(ScreenCodes), std::end(ScreenCodes), uint8_t{0xEE});
    for (auto& row : SameBitsGrid) std::fill(std::begin(row), std::end(row), int16_t{-1});
    dirartMode = false;
  }
  void TearDown() override { dirartMode = false; }

  static void FillRandomImage(uint64_t seed) {
    std::mt19937_64 random(seed);
    for (int row = 0; row < CellRows; ++row) {
      for (int column = 0; column < CellColumns; ++column) PutCell(row, column, RandomCellPattern(random));
    }
  }

  static void ExpectReferenceResultsEverywhere() {
    int failures = 0;
    for (int row = 0; row < CellRows && failures < 10; ++row) {
      for (int column = 0; column < CellColumns && failures < 10; ++column) {
        const CellLines cell = TakeCell(row, column);
        const GlyphMatch expected = ReferenceFindBestGlyph(cell.line, dirartMode);
        const GlyphMatch found{ScreenCodes[row * 40 + column], SameBitsGrid[row][column]};
        if (found == expected) continue;
        ++failures;
        ADD_FAILURE() << "row " << row << " column " << column << ": expected "
                      << testing::PrintToString(expected) << ", found " << testing::PrintToString(found);
      }
    }
  }
};

TEST_F(MatchCellsTest, ScreenCodesAreRowMajorAndCellsReadTopLineFirst) {
  // Every cell shows a different glyph, so a swapped row and column, a
  // wrong line order or a misplaced code shows up as a wrong glyph.
  const auto glyphAt = [](int row, int column) { return (row * 40 + column) * 7 % 256; };
  for (int row = 0; row < CellRows; ++row) {
    for (int column = 0; column < CellColumns; ++column) PutCell(row, column, GlyphPatterns[glyphAt(row, column)]);
  }
  MatchCells();
  for (int row = 0; row < CellRows; ++row) {
    for (int column = 0; column < CellColumns; ++column) {
      const uint64_t pattern = GlyphPatterns[glyphAt(row, column)];
      const auto lowestTwin = std::find(GlyphPatterns.begin(), GlyphPatterns.end(), pattern) - GlyphPatterns.begin();
      ASSERT_EQ(ScreenCodes[row * 40 + column], lowestTwin) << "row " << row << " column " << column;
      ASSERT_EQ(SameBitsGrid[row][column], 64) << "row " << row << " column " << column;
    }
  }
}

TEST_F(MatchCellsTest, RandomImagesMatchTheReferenceInBothModes) {
  for (const bool dirart : {false, true}) {
    SCOPED_TRACE(dirart ? "dirart" : "normal");
    dirartMode = dirart;
    FillRandomImage(dirart ? 64 : 128);
    MatchCells();
    ExpectReferenceResultsEverywhere();
  }
}

TEST_F(MatchCellsTest, ImagesOfFewRepeatedCellsMatchTheReference) {
  // Runs of equal cells, returns to an earlier cell after a different one,
  // and equal or different neighbours across the end of a row: every case in
  // which a cell might take over an earlier result. Some kinds differ only
  // in their first or last line; some repeat one byte in all lines, so that
  // comparing the wrong lines would find them equal.
  for (const int kinds : {2, 3, 5}) {
    for (const bool dirart : {false, true}) {
      SCOPED_TRACE(testing::Message() << kinds << " kinds of cell" << (dirart ? ", dirart" : ""));
      std::mt19937_64 random(kinds);
      const uint64_t base = RandomCellPattern(random);
      const uint64_t alphabet[5] = {base, base ^ 0x5A, 0x1818181818181818, base ^ (uint64_t{0xA5} << 56),
                                    0x6666666666666666};
      for (int row = 0; row < CellRows; ++row) {
        for (int column = 0; column < CellColumns; ++column) {
          PutCell(row, column, alphabet[random() % kinds]);
        }
      }
      dirartMode = dirart;
      MatchCells();
      ExpectReferenceResultsEverywhere();
    }
  }
}

TEST_F(MatchCellsTest, ResultsStayWithinTheirRanges) {
  const int neverChosen[] = {67, 93, 96, 106, 116, 195, 221, 224, 234, 244};
  for (const uint64_t seed : {1u, 2u, 3u, 4u}) {
    for (const bool dirart : {false, true}) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << (dirart ? " dirart" : ""));
      dirartMode = dirart;
      FillRandomImage(seed);
      MatchCells();
      for (int cell = 0; cell < CellCount; ++cell) {
        const int code = ScreenCodes[cell];
        const int samebits = SameBitsGrid[cell / 40][cell % 40];
        EXPECT_EQ(std::count(std::begin(neverChosen), std::end(neverChosen), code), 0) << code;
        if (dirart) {
          EXPECT_LE(code, 127);
          EXPECT_GE(samebits, 1);
        } else {
          EXPECT_GE(samebits, 32);
        }
        EXPECT_LE(samebits, 64);
      }
    }
  }
}

TEST_F(MatchCellsTest, UniformImagesGiveTheDocumentedGlyphEverywhere) {
  const struct {
    uint8_t fill;
    bool dirart;
    uint8_t glyph;
    int16_t samebits;
  } cases[] = {{0x00, false, 32, 64}, {0x00, true, 32, 64}, {0xFF, false, 160, 64}, {0xFF, true, 86, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "fill " << int{c.fill} << (c.dirart ? " dirart" : ""));
    std::fill(std::begin(PixelData), std::end(PixelData), c.fill);
    dirartMode = c.dirart;
    MatchCells();
    EXPECT_EQ(std::count(std::begin(ScreenCodes), std::end(ScreenCodes), c.glyph), CellCount);
    for (const auto& row : SameBitsGrid) {
      EXPECT_EQ(std::count(std::begin(row), std::end(row), c.samebits), CellColumns);
    }
  }
}

TEST_F(MatchCellsTest, FindBestGlyphStoresOnlyItsOwnCount) {
  const CellLines complementOfGlyph0 = UnpackRows(0xC39991919F9DC3FF);
  dirartMode = true;
  EXPECT_EQ(FindBestGlyph(complementOfGlyph0.line, 5, 20), 98);  // column, then row
  dirartMode = false;
  EXPECT_EQ(FindBestGlyph(complementOfGlyph0.line, 39, 24), 128);
  for (int row = 0; row < CellRows; ++row) {
    for (int column = 0; column < CellColumns; ++column) {
      const int16_t expected = row == 20 && column == 5 ? 41 : row == 24 && column == 39 ? 63 : -1;
      EXPECT_EQ(SameBitsGrid[row][column], expected) << "row " << row << " column " << column;
    }
  }
  EXPECT_EQ(std::count(std::begin(ScreenCodes), std::end(ScreenCodes), 0xEE), CellCount);
}

}  // namespace
