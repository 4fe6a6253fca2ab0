#include "match/avx2_search.h"

// Processors outside the x86 family have no AVX2.
bool CpuHasAvx2() { return false; }

GlyphMatch SearchGlyphsAvx2(uint64_t cellPattern, bool normalGlyphsOnly) {
  return SearchGlyphsPortable(cellPattern, normalGlyphsOnly);
}
