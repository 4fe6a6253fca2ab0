#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "match/glyph_table.h"
#include "match/row_pattern.h"

namespace {

// The table is complete at compile time, exception included.
static_assert(GlyphTable[128 * 8 + 5] == 0x99);

uint64_t PatternOf(int glyph) { return PackRows(&GlyphTable[glyph * 8]); }

TEST(GlyphTable, HoldsTheDocumentedGlyphs) {
  const struct {
    int glyph;
    uint64_t pattern;
  } cases[] = {
      {0, 0x3C666E6E60623C00},   {1, 0x183C667E66666600},   {28, 0x0C12307C3062FC00},
      {32, 0x0000000000000000},  {41, 0x30180C0C0C183000},  {64, 0x000000FFFF000000},
      {86, 0xC3E77E3C3C7EE7C3},  {95, 0xFF7F3F1F0F070301},  {96, 0x0000000000000000},
      {98, 0x00000000FFFFFFFF},  {105, 0xFFFEFCF8F0E0C080}, {122, 0x030303030303FFFF},
      {127, 0xF0F0F0F00F0F0F0F}, {128, 0xC39991919F99C3FF}, {129, 0xE7C39981999999FF},
      {160, 0xFFFFFFFFFFFFFFFF}, {224, 0xFFFFFFFFFFFFFFFF}, {255, 0x0F0F0F0FF0F0F0F0},
  };
  for (const auto& c : cases) EXPECT_EQ(PatternOf(c.glyph), c.pattern) << "glyph " << c.glyph;
}

TEST(GlyphTable, ReverseGlyphsAreComplementsExceptRowFiveOfGlyph128) {
  for (int glyph = 0; glyph < 128; ++glyph) {
    for (int row = 0; row < 8; ++row) {
      const int expected = glyph == 0 && row == 5 ? 0x99 : 255 - GlyphTable[glyph * 8 + row];
      EXPECT_EQ(GlyphTable[(glyph + 128) * 8 + row], expected) << "glyph " << glyph + 128 << " row " << row;
    }
  }
}

// Also proves that 32/96 are the only all-clear and 160/224 the only all-set glyphs.
TEST(GlyphTable, IdenticalGlyphsAreExactlyTheKnownPairs) {
  std::vector<std::pair<int, int>> identical;
  for (int lower = 0; lower < GlyphCount; ++lower) {
    for (int higher = lower + 1; higher < GlyphCount; ++higher) {
      if (PatternOf(lower) == PatternOf(higher)) identical.emplace_back(lower, higher);
    }
  }
  const std::vector<std::pair<int, int>> expected = {
      {32, 96},   {64, 67},   {66, 93},   {101, 116}, {103, 106},
      {160, 224}, {192, 195}, {194, 221}, {229, 244}, {231, 234},
  };
  EXPECT_EQ(identical, expected);
}

TEST(BitMaskTable, PicksPixelsFromLeftToRight) {
  for (int pixel = 0; pixel < 8; ++pixel) EXPECT_EQ(BitMaskTable[pixel], 0x80 >> pixel) << "pixel " << pixel;
}

}  // namespace
