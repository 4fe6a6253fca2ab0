#pragma once
#include <cstdint>

// The best glyph for one cell: the lowest-numbered glyph among those with the
// most pixels in common with the cell, and that number of pixels (samebits).
struct GlyphMatch {
  uint8_t glyph;
  int16_t samebits;
};

// A search over one cell, given as its packed rows (see row_pattern.h). With
// normalGlyphsOnly only glyphs 0 to 127 take part.
using GlyphSearch = GlyphMatch (*)(uint64_t cellPattern, bool normalGlyphsOnly);

// Whole-row comparison in plain C++; runs on any processor.
GlyphMatch SearchGlyphsPortable(uint64_t cellPattern, bool normalGlyphsOnly);

// The fastest search this processor supports, chosen on the first call.
GlyphSearch ChosenGlyphSearch();
GlyphMatch SearchGlyphs(uint64_t cellPattern, bool normalGlyphsOnly);
