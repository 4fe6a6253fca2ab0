#pragma once
#include <cstdint>
#include <ostream>
#include <random>

#include "match/glyph_search.h"
#include "match/row_pattern.h"

// Cells for the tests and the benchmark, as packed patterns (row 0 in the
// most significant byte) and as 8 line bytes.
struct CellLines {
  uint8_t line[8];
};

inline CellLines UnpackRows(uint64_t pattern) {
  CellLines cell{};
  for (int row = 0; row < 8; ++row) cell.line[row] = static_cast<uint8_t>(pattern >> (8 * (7 - row)));
  return cell;
}

// Random cells of varied density and shape: plain random bits, sparse and
// dense mixtures, and glyphs with a few pixels flipped, so that the best
// matches spread over the whole range of samebits and over many glyphs.
inline uint64_t RandomCellPattern(std::mt19937_64& random) {
  const uint64_t a = random();
  const uint64_t b = random();
  const uint64_t c = random();
  switch (random() % 6) {
    case 0: return a;
    case 1: return a & b;
    case 2: return a | b;
    case 3: return a & b & c;
    case 4: return a | b | c;
    default: return GlyphPatterns[a % GlyphCount] ^ (b & c & random() & random());
  }
}

inline bool operator==(GlyphMatch left, GlyphMatch right) {
  return left.glyph == right.glyph && left.samebits == right.samebits;
}

inline void PrintTo(GlyphMatch match, std::ostream* out) {
  *out << "glyph " << int{match.glyph} << " samebits " << match.samebits;
}
