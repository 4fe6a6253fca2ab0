#pragma once
#include <cstdint>

#include "match/glyph_search.h"
#include "match/glyph_table.h"

// The slow, obvious search the fast ones are held against: every glyph,
// every pixel through the bit masks, a running count per glyph, and a glyph
// taken as soon as its count is strictly greater than the best so far.
// It reads only GlyphTable and BitMaskTable.
inline GlyphMatch ReferenceFindBestGlyph(const uint8_t cell[8], bool dirart) {
  int16_t bestCount = 0, chosen = 0;
  for (int16_t glyph = 0; glyph <= (dirart ? 127 : 255); ++glyph) {
    int16_t count = 0;
    for (int16_t line = 0; line < 8; ++line)
      for (int16_t pixel = 0; pixel < 8; ++pixel) {
        const uint8_t mask = BitMaskTable[pixel];
        if ((GlyphTable[glyph * 8 + line] & mask) == (cell[line] & mask)) {
          ++count;
          if (count > bestCount) bestCount = count, chosen = glyph;
        }
      }
  }
  return {static_cast<uint8_t>(chosen), bestCount};
}
