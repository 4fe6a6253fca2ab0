#include <bit>

#include "match/character_sets.h"
#include "match/screen_layout.h"

void MatchCellsInSet(const uint8_t* pixelData, CharacterSet set, bool normalGlyphsOnly,
                     uint8_t* screenCodes) {
  const uint64_t* patterns = GlyphPatternsOf(set);
  const int glyphs = normalGlyphsOnly ? NormalGlyphCount : GlyphCount;
  for (int cell = 0; cell < CellCount; ++cell) {
    uint8_t rows[GlyphRows];
    const int row = cell / CellColumns, column = cell % CellColumns;
    for (int line = 0; line < GlyphRows; ++line)
      rows[line] = pixelData[(row * GlyphRows + line) * PixelRowBytes + column];
    const uint64_t cellPattern = PackRows(rows);
    int best = 0, fewest = 65;
    // Strictly fewer differing pixels: a tie keeps the lower glyph.
    for (int glyph = 0; glyph < glyphs; ++glyph) {
      const int differences = std::popcount(cellPattern ^ patterns[glyph]);
      if (differences < fewest) best = glyph, fewest = differences;
    }
    screenCodes[cell] = static_cast<uint8_t>(best);
  }
}
