#include <immintrin.h>

#include <bit>
#include <cstdint>

#include "match/avx2_search.h"
#include "match/row_pattern.h"

// Only the functions marked with the target attribute use AVX2, so this file
// can sit in a program that runs on any x86-64 processor.
#define AVX2_CODE [[gnu::target("avx2")]]

namespace {

// 32 glyphs share one vector: byte k of group g belongs to glyph 32 x g + k.
constexpr int GroupWidth = 32;
constexpr int GroupCount = NormalGlyphCount / GroupWidth;

// The normal glyphs split into nibbles, one row of all 128 glyphs side by
// side, so that a row of 32 glyphs is one load.
struct NibblePlanes {
  alignas(32) uint8_t low[GlyphRows][NormalGlyphCount];
  alignas(32) uint8_t high[GlyphRows][NormalGlyphCount];
};

consteval NibblePlanes BuildNibblePlanes() {
  NibblePlanes planes{};
  for (int row = 0; row < GlyphRows; ++row) {
    for (int glyph = 0; glyph < NormalGlyphCount; ++glyph) {
      const uint8_t bits = GlyphTable[glyph * GlyphRows + row];
      planes.low[row][glyph] = bits & 0x0F;
      planes.high[row][glyph] = bits >> 4;
    }
  }
  return planes;
}

constexpr NibblePlanes NormalGlyphNibbles = BuildNibblePlanes();

// Entry v holds, at position x, the number of bits in which nibbles v and x
// differ: a cell nibble's lookup table for the byte shuffle.
struct NibbleDifferenceTable {
  alignas(16) uint8_t from[16][16];
};

consteval NibbleDifferenceTable BuildNibbleDifferences() {
  NibbleDifferenceTable table{};
  for (unsigned cell = 0; cell < 16; ++cell) {
    for (unsigned glyph = 0; glyph < 16; ++glyph) {
      table.from[cell][glyph] = static_cast<uint8_t>(std::popcount(cell ^ glyph));
    }
  }
  return table;
}

constexpr NibbleDifferenceTable NibbleDifferences = BuildNibbleDifferences();

// Each candidate is ranked by a 16-bit key, its distance (differing pixels)
// times 256 plus its glyph number: the smallest key is the closest glyph and,
// among equally close ones, the lowest-numbered. Widening a distance byte
// into the high half of a 16-bit lane interleaves the bytes of the two
// 128-bit halves, so each widened vector has its own table of glyph numbers.
constexpr int WidenedCount = 2 * GroupCount;
constexpr int WidenedWidth = 16;

consteval int GlyphOfWidenedLane(int vector, int lane) {
  const int group = vector / 2;
  const int upperBytes = vector % 2;  // unpacklo takes bytes 0-7, unpackhi 8-15 of a half
  const int half = lane / 8;
  return group * GroupWidth + half * 16 + upperBytes * 8 + lane % 8;
}

struct KeyTable {
  alignas(32) uint16_t lanes[WidenedCount][WidenedWidth];
};

consteval KeyTable BuildNormalKeys() {
  KeyTable table{};
  for (int vector = 0; vector < WidenedCount; ++vector) {
    for (int lane = 0; lane < WidenedWidth; ++lane) {
      table.lanes[vector][lane] = static_cast<uint16_t>(GlyphOfWidenedLane(vector, lane));
    }
  }
  return table;
}

consteval bool ReverseGlyphsAreComplements() {
  for (int glyph = 1; glyph < NormalGlyphCount; ++glyph) {
    if (GlyphPatterns[ReverseGlyphOffset + glyph] != ~GlyphPatterns[glyph]) return false;
  }
  return true;
}
static_assert(ReverseGlyphsAreComplements(), "reverse glyphs are ranked through their normal forms");

// Reverse glyph 128 + i (i >= 1) is the complement of glyph i, so its
// distance is 64 minus glyph i's: its key is this entry minus 256 times
// glyph i's distance. Glyph 128 is no plain complement; its entry is so
// large that it never wins, and it is ranked on its own.
consteval KeyTable BuildReverseKeys() {
  KeyTable table{};
  for (int vector = 0; vector < WidenedCount; ++vector) {
    for (int lane = 0; lane < WidenedWidth; ++lane) {
      const int glyph = GlyphOfWidenedLane(vector, lane);
      table.lanes[vector][lane] =
          glyph == 0 ? uint16_t{0xFFFF} : static_cast<uint16_t>(64 * 256 + ReverseGlyphOffset + glyph);
    }
  }
  return table;
}

constexpr KeyTable NormalKeys = BuildNormalKeys();
constexpr KeyTable ReverseKeys = BuildReverseKeys();

struct GroupDistances {
  __m256i group[GroupCount];
};

AVX2_CODE inline __m256i Load32(const void* bytes) {
  return _mm256_load_si256(static_cast<const __m256i*>(bytes));
}

AVX2_CODE inline __m256i LoadLookupTable(const uint8_t* bytes) {
  return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(bytes)));
}

// Differing pixels between the cell and every normal glyph (0 to 64 each).
AVX2_CODE inline GroupDistances MeasureNormalGlyphs(uint64_t cellPattern) {
  GroupDistances distances;
  for (__m256i& group : distances.group) group = _mm256_setzero_si256();
  for (int row = 0; row < GlyphRows; ++row) {
    const unsigned bits = static_cast<unsigned>(cellPattern >> (8 * (7 - row))) & 0xFF;
    const __m256i lowTable = LoadLookupTable(NibbleDifferences.from[bits & 0x0F]);
    const __m256i highTable = LoadLookupTable(NibbleDifferences.from[bits >> 4]);
    for (int group = 0; group < GroupCount; ++group) {
      const __m256i low = Load32(&NormalGlyphNibbles.low[row][group * GroupWidth]);
      const __m256i high = Load32(&NormalGlyphNibbles.high[row][group * GroupWidth]);
      const __m256i rowDistance =
          _mm256_add_epi8(_mm256_shuffle_epi8(lowTable, low), _mm256_shuffle_epi8(highTable, high));
      distances.group[group] = _mm256_add_epi8(distances.group[group], rowDistance);
    }
  }
  return distances;
}

AVX2_CODE inline unsigned SmallestKey(__m256i keys) {
  const __m128i least =
      _mm_min_epu16(_mm256_castsi256_si128(keys), _mm256_extracti128_si256(keys, 1));
  return static_cast<unsigned>(_mm_cvtsi128_si32(_mm_minpos_epu16(least))) & 0xFFFF;
}

AVX2_CODE GlyphMatch SearchWithAvx2(uint64_t cellPattern, bool normalGlyphsOnly) {
  const GroupDistances distances = MeasureNormalGlyphs(cellPattern);
  const __m256i zero = _mm256_setzero_si256();
  __m256i least = _mm256_set1_epi16(-1);
  for (int vector = 0; vector < WidenedCount; ++vector) {
    const __m256i group = distances.group[vector / 2];
    // Distance times 256 in every 16-bit lane.
    const __m256i scaled =
        vector % 2 == 0 ? _mm256_unpacklo_epi8(zero, group) : _mm256_unpackhi_epi8(zero, group);
    least = _mm256_min_epu16(least, _mm256_or_si256(scaled, Load32(NormalKeys.lanes[vector])));
    if (!normalGlyphsOnly) {
      least = _mm256_min_epu16(least, _mm256_sub_epi16(Load32(ReverseKeys.lanes[vector]), scaled));
    }
  }
  unsigned key = SmallestKey(least);
  if (!normalGlyphsOnly) {
    const auto glyph128Distance =
        static_cast<unsigned>(std::popcount(cellPattern ^ GlyphPatterns[ReverseGlyphOffset]));
    const unsigned glyph128Key = glyph128Distance * 256 + ReverseGlyphOffset;
    if (glyph128Key < key) key = glyph128Key;
  }
  return {static_cast<uint8_t>(key & 0xFF), static_cast<int16_t>(64 - static_cast<int>(key >> 8))};
}

}  // namespace

GlyphMatch SearchGlyphsAvx2(uint64_t cellPattern, bool normalGlyphsOnly) {
  return SearchWithAvx2(cellPattern, normalGlyphsOnly);
}
