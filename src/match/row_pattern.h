#pragma once
#include <array>
#include <cstdint>

#include "match/glyph_table.h"

// The 8 row bytes of a cell or glyph as one 64-bit pattern, row 0 in the most
// significant byte. Two patterns are compared whole: the set bits of their
// exclusive-or are the pixels at which they differ.
constexpr uint64_t PackRows(const uint8_t rows[GlyphRows]) {
  uint64_t pattern = 0;
  for (int row = 0; row < GlyphRows; ++row) pattern = (pattern << 8) | rows[row];
  return pattern;
}

consteval std::array<uint64_t, GlyphCount> BuildGlyphPatterns() {
  std::array<uint64_t, GlyphCount> patterns{};
  for (int glyph = 0; glyph < GlyphCount; ++glyph) {
    patterns[glyph] = PackRows(&GlyphTable[glyph * GlyphRows]);
  }
  return patterns;
}

inline constexpr std::array<uint64_t, GlyphCount> GlyphPatterns = BuildGlyphPatterns();
