#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "match/avx2_search.h"
#include "match/glyph_search.h"
#include "match/row_pattern.h"
#include "test_cells.h"

// Names the search in test names; it sits beside GlyphMatch so that the
// printer finds it for the function pointer.
void PrintTo(GlyphSearch search, std::ostream* out) { *out << (search == SearchGlyphsAvx2 ? "Avx2" : "Portable"); }

namespace {

uint64_t Pixel(int bit) { return uint64_t{1} << bit; }
int SameBits(uint64_t cell, int glyph) { return 64 - std::popcount(cell ^ GlyphPatterns[glyph]); }

// Every glyph, every cell one pixel from a glyph, and cells two pixels from
// a glyph: all of them, or about one in 128.
std::vector<uint64_t> CellsNearGlyphs(bool everyPair) {
  std::mt19937_64 random(7);
  std::vector<uint64_t> cells;
  for (const uint64_t glyph : GlyphPatterns) {
    cells.push_back(glyph);
    for (int first = 0; first < 64; ++first) {
      cells.push_back(glyph ^ Pixel(first));
      for (int second = first + 1; second < 64; ++second) {
        if (everyPair || random() % 128 == 0) cells.push_back(glyph ^ Pixel(first) ^ Pixel(second));
      }
    }
  }
  return cells;
}

// Cells exactly halfway between two glyphs that are the closest to it: where
// the glyphs agree the cell agrees with both, and of the pixels where they
// differ it takes half from each. Pairs with glyph 128, the one reverse glyph
// that is no plain complement, are all tried.
std::vector<uint64_t> HalfwayCells(int randomPairs, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint64_t> cells;
  for (int pair = -GlyphCount; pair < randomPairs; ++pair) {
    const int first = pair < 0 ? pair + GlyphCount : static_cast<int>(random() % GlyphCount);
    const uint64_t second = GlyphPatterns[pair < 0 ? 128 : random() % GlyphCount];
    std::vector<int> differing;
    for (int bit = 0; bit < 64; ++bit) {
      if ((GlyphPatterns[first] ^ second) & Pixel(bit)) differing.push_back(bit);
    }
    if (differing.empty() || differing.size() % 2 != 0) continue;
    std::shuffle(differing.begin(), differing.end(), random);
    uint64_t cell = GlyphPatterns[first];
    for (size_t i = 0; i < differing.size() / 2; ++i) cell ^= Pixel(differing[i]);
    int best = 0;
    for (int glyph = 0; glyph < GlyphCount; ++glyph) best = std::max(best, SameBits(cell, glyph));
    if (SameBits(cell, first) == best) cells.push_back(cell);
  }
  return cells;
}

// Stops at the first cell on which two searches differ, in either mode.
void ExpectSameResults(const std::vector<uint64_t>& cells, GlyphSearch expected, GlyphSearch found) {
  for (const uint64_t cell : cells) {
    for (const bool dirart : {false, true}) {
      ASSERT_EQ(found(cell, dirart), expected(cell, dirart))
          << "cell " << std::hex << cell << (dirart ? " dirart" : "");
    }
  }
}

class GlyphSearchPath : public testing::TestWithParam<GlyphSearch> {
 protected:
  void SetUp() override {
    if (GetParam() == SearchGlyphsAvx2 && !CpuHasAvx2()) GTEST_SKIP() << "this processor has no AVX2";
  }
};

TEST_P(GlyphSearchPath, DocumentedCells) {
  const struct {
    const char* what;
    uint64_t cell;
    GlyphMatch normal, dirart;
  } cases[] = {
      {"all clear", 0, {32, 64}, {32, 64}},  // glyph 96 ties
      {"all set", ~uint64_t{0}, {160, 64}, {86, 40}},
      {"only line 4 set", 0x00000000FF000000, {32, 56}, {32, 56}},  // 61, 64, 67, 70 and 96 tie
      {"glyph 128", 0xC39991919F99C3FF, {128, 64}, {98, 40}},       // with dirart 122 ties
      {"complement of glyph 0", 0xC39991919F9DC3FF, {128, 63}, {98, 41}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(GetParam()(c.cell, false), c.normal);
    EXPECT_EQ(GetParam()(c.cell, true), c.dirart);
    EXPECT_EQ(ReferenceMatch(c.cell, false), c.normal);
    EXPECT_EQ(ReferenceMatch(c.cell, true), c.dirart);
  }
}

TEST_P(GlyphSearchPath, MatchesTheReference) {
  std::vector<uint64_t> cells = CellsNearGlyphs(false);
  for (const auto& more : {RandomCells(4000, 20170207), HalfwayCells(2000, 11)}) {
    cells.insert(cells.end(), more.begin(), more.end());
  }
  ExpectSameResults(cells, ReferenceMatch, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Matchers, GlyphSearchPath, testing::Values(SearchGlyphsPortable, SearchGlyphsAvx2),
                         testing::PrintToStringParamName());

// The fast paths against each other where the reference would take too long.
TEST(Avx2Search, AgreesWithThePortableSearchOnMillionsOfCells) {
  if (!CpuHasAvx2()) GTEST_SKIP() << "this processor has no AVX2";
  for (const auto& cells : {RandomCells(1000000, 1983), CellsNearGlyphs(true), HalfwayCells(200000, 5)}) {
    ExpectSameResults(cells, SearchGlyphsPortable, SearchGlyphsAvx2);
  }
}

TEST(ChosenGlyphSearch, TakesAvx2WhenTheProcessorHasIt) {
  EXPECT_EQ(ChosenGlyphSearch(), CpuHasAvx2() ? SearchGlyphsAvx2 : SearchGlyphsPortable);
}

}  // namespace
