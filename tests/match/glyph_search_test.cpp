#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "match/avx2_search.h"
#include "match/glyph_search.h"
#include "match/row_pattern.h"
#include "reference_matcher.h"
#include "test_cells.h"

namespace {

const bool bothModes[] = {false, true};

GlyphMatch Reference(uint64_t pattern, bool dirart) {
  const CellLines cell = UnpackRows(pattern);
  return ReferenceFindBestGlyph(cell.line, dirart);
}

std::string Describe(uint64_t pattern, bool dirart) {
  char text[40];
  std::snprintf(text, sizeof text, "cell %016llX%s", static_cast<unsigned long long>(pattern),
                dirart ? " dirart" : "");
  return text;
}

// Reports the first few cells on which two searches differ, in both modes.
template <typename Expected, typename Found>
void ExpectSameResults(const std::vector<uint64_t>& patterns, Expected expected, Found found) {
  int failures = 0;
  for (const uint64_t pattern : patterns) {
    for (const bool dirart : bothModes) {
      const GlyphMatch wanted = expected(pattern, dirart);
      const GlyphMatch got = found(pattern, dirart);
      if (got == wanted) continue;
      ADD_FAILURE() << Describe(pattern, dirart) << ": expected " << testing::PrintToString(wanted)
                    << ", found " << testing::PrintToString(got);
      if (++failures == 10) return;
    }
  }
}

std::vector<uint64_t> RandomCells(int count, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint64_t> cells(count);
  for (uint64_t& cell : cells) cell = RandomCellPattern(random);
  return cells;
}

std::vector<uint64_t> OnePixelFromEveryGlyph() {
  std::vector<uint64_t> cells;
  for (const uint64_t glyph : GlyphPatterns) {
    for (int bit = 0; bit < 64; ++bit) cells.push_back(glyph ^ (uint64_t{1} << bit));
  }
  return cells;
}

std::vector<uint64_t> TwoPixelsFromEveryGlyph() {
  std::vector<uint64_t> cells;
  for (const uint64_t glyph : GlyphPatterns) {
    for (int first = 0; first < 64; ++first) {
      for (int second = first + 1; second < 64; ++second) {
        cells.push_back(glyph ^ (uint64_t{1} << first) ^ (uint64_t{1} << second));
      }
    }
  }
  return cells;
}

std::vector<uint64_t> TwoPixelsFromEveryGlyph(int pairsPerGlyph, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint64_t> cells;
  for (const uint64_t glyph : GlyphPatterns) {
    for (int pair = 0; pair < pairsPerGlyph; ++pair) {
      const int first = static_cast<int>(random() % 64);
      const int second = (first + 1 + static_cast<int>(random() % 63)) % 64;
      cells.push_back(glyph ^ (uint64_t{1} << first) ^ (uint64_t{1} << second));
    }
  }
  return cells;
}

// Cells exactly halfway between two glyphs: where the glyphs agree the cell
// agrees with both, and of the pixels where they differ it takes half from
// each. Pairs with glyph 128, the one reverse glyph that is no plain
// complement, are all included.
std::vector<uint64_t> HalfwayCells(int randomPairs, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint64_t> cells;
  const auto addHalfway = [&](int first, int second) {
    const uint64_t a = GlyphPatterns[first];
    const uint64_t differing = a ^ GlyphPatterns[second];
    std::vector<int> bits;
    for (int bit = 0; bit < 64; ++bit) {
      if ((differing >> bit) & 1) bits.push_back(bit);
    }
    if (bits.empty() || bits.size() % 2 != 0) return;
    std::shuffle(bits.begin(), bits.end(), random);
    uint64_t cell = a;
    for (size_t i = 0; i < bits.size() / 2; ++i) cell ^= uint64_t{1} << bits[i];
    cells.push_back(cell);
  };
  for (int glyph = 0; glyph < GlyphCount; ++glyph) addHalfway(glyph, 128);
  for (int i = 0; i < randomPairs; ++i) {
    addHalfway(static_cast<int>(random() % GlyphCount), static_cast<int>(random() % GlyphCount));
  }
  return cells;
}

// How many glyphs share the best count for the cell.
int GlyphsAtBest(uint64_t pattern, bool dirart) {
  const CellLines cell = UnpackRows(pattern);
  const int highest = dirart ? 127 : 255;
  int best = -1;
  int sharing = 0;
  for (int glyph = 0; glyph <= highest; ++glyph) {
    const int count = ReferenceSameBits(cell.line, glyph);
    if (count > best) {
      best = count;
      sharing = 0;
    }
    if (count == best) ++sharing;
  }
  return sharing;
}

struct SearchPath {
  const char* name;
  GlyphSearch search;
  bool needsAvx2;
};

void PrintTo(const SearchPath& path, std::ostream* out) { *out << path.name; }

class GlyphSearchPath : public testing::TestWithParam<SearchPath> {
 protected:
  void SetUp() override {
    if (GetParam().needsAvx2 && !CpuHasAvx2()) GTEST_SKIP() << "this processor has no AVX2";
  }

  GlyphMatch Search(uint64_t pattern, bool dirart) const { return GetParam().search(pattern, dirart); }

  void ExpectReferenceResults(const std::vector<uint64_t>& patterns) const {
    ExpectSameResults(patterns, Reference, GetParam().search);
  }
};

struct DocumentedCell {
  const char* what;
  uint64_t cell;
  bool dirart;
  int glyph;
  int samebits;
  std::vector<int> alsoTied;  // glyphs with the same count that must lose
};

const DocumentedCell documentedCells[] = {
    {"all clear", 0, false, 32, 64, {96}},
    {"all clear", 0, true, 32, 64, {96}},
    {"all set", ~uint64_t{0}, false, 160, 64, {224}},
    {"all set", ~uint64_t{0}, true, 86, 40, {}},
    {"only line 4 set", 0x00000000FF000000, false, 32, 56, {61, 64, 67, 70, 96}},
    {"only line 4 set", 0x00000000FF000000, true, 32, 56, {61, 64, 67, 70, 96}},
    {"glyph 128", 0xC39991919F99C3FF, false, 128, 64, {}},
    {"glyph 128", 0xC39991919F99C3FF, true, 98, 40, {122}},
    {"complement of glyph 0", 0xC39991919F9DC3FF, false, 128, 63, {}},
    {"complement of glyph 0", 0xC39991919F9DC3FF, true, 98, 41, {}},
};

void ExpectDocumentedResults(GlyphSearch search) {
  for (const DocumentedCell& c : documentedCells) {
    SCOPED_TRACE(std::string(c.what) + (c.dirart ? ", dirart" : ""));
    const GlyphMatch expected{static_cast<uint8_t>(c.glyph), static_cast<int16_t>(c.samebits)};
    EXPECT_EQ(search(c.cell, c.dirart), expected);
    EXPECT_EQ(Reference(c.cell, c.dirart), expected);
    const CellLines lines = UnpackRows(c.cell);
    for (const int tied : c.alsoTied) {
      EXPECT_EQ(ReferenceSameBits(lines.line, tied), c.samebits) << "glyph " << tied;
    }
  }
}

TEST_P(GlyphSearchPath, DocumentedCells) { ExpectDocumentedResults(GetParam().search); }

TEST_P(GlyphSearchPath, EveryGlyphPatternFindsItsLowestTwin) {
  for (int glyph = 0; glyph < GlyphCount; ++glyph) {
    const uint64_t pattern = GlyphPatterns[glyph];
    const auto lowestTwin = std::find(GlyphPatterns.begin(), GlyphPatterns.end(), pattern) - GlyphPatterns.begin();
    SCOPED_TRACE(glyph);
    EXPECT_EQ(Search(pattern, false), (GlyphMatch{static_cast<uint8_t>(lowestTwin), 64}));
    EXPECT_EQ(Search(pattern, true), Reference(pattern, true));
  }
}

TEST_P(GlyphSearchPath, RandomCellsMatchTheReference) { ExpectReferenceResults(RandomCells(20000, 20170207)); }

TEST_P(GlyphSearchPath, CellsOnePixelFromAGlyphMatchTheReference) {
  ExpectReferenceResults(OnePixelFromEveryGlyph());
}

TEST_P(GlyphSearchPath, CellsTwoPixelsFromAGlyphMatchTheReference) {
  ExpectReferenceResults(TwoPixelsFromEveryGlyph(16, 7));
}

TEST_P(GlyphSearchPath, TiesGoToTheLowestGlyphAsInTheReference) {
  const std::vector<uint64_t> cells = HalfwayCells(3000, 11);
  // The sample must really be full of ties at the top, in both modes (with
  // dirart fewer, as the halfway cells next to reverse glyphs lose them).
  for (const bool dirart : bothModes) {
    const auto tied = std::count_if(cells.begin(), cells.end(),
                                    [&](uint64_t cell) { return GlyphsAtBest(cell, dirart) >= 2; });
    const auto tiedThreeWays = std::count_if(cells.begin(), cells.end(),
                                             [&](uint64_t cell) { return GlyphsAtBest(cell, dirart) >= 3; });
    EXPECT_GT(tied, static_cast<std::ptrdiff_t>(cells.size() / 3)) << (dirart ? "dirart" : "normal");
    EXPECT_GT(tiedThreeWays, 100) << (dirart ? "dirart" : "normal");
  }
  ExpectReferenceResults(cells);
}

INSTANTIATE_TEST_SUITE_P(Matchers, GlyphSearchPath,
                         testing::Values(SearchPath{"Portable", SearchGlyphsPortable, false},
                                         SearchPath{"Avx2", SearchGlyphsAvx2, true}),
                         [](const testing::TestParamInfo<SearchPath>& info) { return info.param.name; });

// The fast paths against each other where the reference would take too long.
class Avx2AgainstPortable : public testing::Test {
 protected:
  void SetUp() override {
    if (!CpuHasAvx2()) GTEST_SKIP() << "this processor has no AVX2";
  }
};

TEST_F(Avx2AgainstPortable, AMillionRandomCells) {
  ExpectSameResults(RandomCells(1000000, 1983), SearchGlyphsPortable, SearchGlyphsAvx2);
}

TEST_F(Avx2AgainstPortable, EveryCellTwoPixelsFromAGlyph) {
  ExpectSameResults(TwoPixelsFromEveryGlyph(), SearchGlyphsPortable, SearchGlyphsAvx2);
}

TEST_F(Avx2AgainstPortable, ManyTies) {
  ExpectSameResults(HalfwayCells(300000, 5), SearchGlyphsPortable, SearchGlyphsAvx2);
}

TEST(ChosenGlyphSearch, TakesAvx2WhenTheProcessorHasIt) {
  EXPECT_EQ(ChosenGlyphSearch(), CpuHasAvx2() ? SearchGlyphsAvx2 : SearchGlyphsPortable);
  ExpectDocumentedResults(SearchGlyphs);
}

}  // namespace
