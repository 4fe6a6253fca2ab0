#pragma once
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "match/glyph_search.h"
#include "match/row_pattern.h"
#include "reference_matcher.h"

// Cells are packed patterns here: line 0 in the most significant byte.
inline uint8_t LineOf(uint64_t pattern, int line) { return static_cast<uint8_t>(pattern >> (56 - 8 * line)); }

inline GlyphMatch ReferenceMatch(uint64_t pattern, bool dirart) {
  uint8_t lines[8];
  for (int line = 0; line < 8; ++line) lines[line] = LineOf(pattern, line);
  return ReferenceFindBestGlyph(lines, dirart);
}

// Random cells of varied density and shape: plain random bits, sparse and
// dense mixtures, and glyphs with a few pixels flipped, so that the best
// matches spread over the whole range of samebits and over many glyphs.
inline std::vector<uint64_t> RandomCells(int count, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint64_t> cells;
  while (static_cast<int>(cells.size()) < count) {
    const uint64_t a = random(), b = random(), c = random();
    const uint64_t kinds[6] = {a, a & b, a | b, a & b & c, a | b | c,
                               GlyphPatterns[a % GlyphCount] ^ (b & c & random() & random())};
    cells.push_back(kinds[random() % 6]);
  }
  return cells;
}

inline bool operator==(GlyphMatch left, GlyphMatch right) {
  return left.glyph == right.glyph && left.samebits == right.samebits;
}

inline std::ostream& operator<<(std::ostream& out, GlyphMatch match) {
  return out << "glyph " << int{match.glyph} << " samebits " << match.samebits;
}
