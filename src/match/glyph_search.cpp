#include "match/glyph_search.h"

#include "match/avx2_search.h"

GlyphSearch ChosenGlyphSearch() {
  static const GlyphSearch chosen = CpuHasAvx2() ? SearchGlyphsAvx2 : SearchGlyphsPortable;
  return chosen;
}

GlyphMatch SearchGlyphs(uint64_t cellPattern, bool normalGlyphsOnly) {
  return ChosenGlyphSearch()(cellPattern, normalGlyphsOnly);
}
