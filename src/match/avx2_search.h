#pragma once
#include <cstdint>

#include "match/glyph_search.h"

// The search with 256-bit vector instructions. Call SearchGlyphsAvx2 only
// when CpuHasAvx2() is true; builds for processors without these
// instructions report false and hand the search to the portable one.
bool CpuHasAvx2();
GlyphMatch SearchGlyphsAvx2(uint64_t cellPattern, bool normalGlyphsOnly);
