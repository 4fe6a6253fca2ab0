#pragma once
#include <array>
#include <cstdint>

#include "match/normal_glyphs.h"

// The character set every cell is matched against: glyph n is the screen code
// n. Glyphs 0 to 127 are the normal characters, 128 to 255 their reverse
// forms. Both tables are built by the compiler, so they hold their values
// from program start and nothing fills them at run time.
inline constexpr int GlyphCount = 256;
inline constexpr int GlyphRows = 8;
inline constexpr int GlyphTableSize = GlyphCount * GlyphRows;
inline constexpr int16_t HighestGlyph = 255;
inline constexpr int16_t HighestNormalGlyph = NormalGlyphCount - 1;
inline constexpr int ReverseGlyphOffset = 128;

// Row r of glyph n is byte n x 8 + r, row 0 at the top; within a row bit 7 is
// the leftmost pixel, as in the image data. The normal glyphs come from
// patterns (NormalGlyphPatterns here; the other character set has its own).
consteval std::array<uint8_t, GlyphTableSize> BuildGlyphTable(
    const uint64_t (&patterns)[NormalGlyphCount] = NormalGlyphPatterns) {
  std::array<uint8_t, GlyphTableSize> table{};
  for (int glyph = 0; glyph < NormalGlyphCount; ++glyph) {
    for (int row = 0; row < GlyphRows; ++row) {
      const auto bits = static_cast<uint8_t>(patterns[glyph] >> (8 * (7 - row)));
      table[glyph * GlyphRows + row] = bits;
      table[(glyph + ReverseGlyphOffset) * GlyphRows + row] = static_cast<uint8_t>(~bits);
    }
  }
  // The reverse of glyph 0 is not a plain complement: its row 5 has one
  // pixel fewer set (0x99 rather than 0x9D). Both character sets share the @.
  table[ReverseGlyphOffset * GlyphRows + 5] = 0x99;
  return table;
}

inline constexpr std::array<uint8_t, GlyphTableSize> GlyphTable = BuildGlyphTable();

// Entry p picks pixel p (0 = leftmost) out of a row byte.
inline constexpr std::array<uint8_t, 8> BitMaskTable = {0x80, 0x40, 0x20, 0x10,
                                                        0x08, 0x04, 0x02, 0x01};
