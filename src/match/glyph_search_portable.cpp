#include <bit>

#include "match/glyph_search.h"
#include "match/row_pattern.h"

GlyphMatch SearchGlyphsPortable(uint64_t cellPattern, bool normalGlyphsOnly) {
  const int16_t highest = normalGlyphsOnly ? HighestNormalGlyph : HighestGlyph;
  // Fewest differing pixels is most pixels in common; only a strictly
  // smaller count replaces the best, so the lowest glyph wins a tie.
  int16_t fewestDifferences = 65;
  int16_t chosen = 0;
  for (int16_t glyph = 0; glyph <= highest; ++glyph) {
    const auto differences = static_cast<int16_t>(std::popcount(cellPattern ^ GlyphPatterns[glyph]));
    if (differences < fewestDifferences) {
      fewestDifferences = differences;
      chosen = glyph;
      if (differences == 0) break;  // nothing later can be strictly closer
    }
  }
  return {static_cast<uint8_t>(chosen), static_cast<int16_t>(64 - fewestDifferences)};
}
