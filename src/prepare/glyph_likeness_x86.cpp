#include "prepare/glyph_likeness_body.h"
#include "prepare/glyph_likeness_kernels.h"

// The same bodies, allowed 256-bit vectors and fused multiply-adds. Only
// these functions use them, so the program still runs on any x86-64
// processor.
[[gnu::target("avx2,fma")]] void DotGlyphsAvx2(const CellView& view, int glyphsTried,
                                               GlyphDots& dots) {
  DotGlyphsBody(view, glyphsTried, dots);
}

[[gnu::target("avx2,fma")]] void ScoreInkAvx2(const CellView& view, const GlyphDots& dots,
                                              const LightnessTables& tables, const InkStep& ink,
                                              int glyphsTried, float likeness[GlyphCount]) {
  ScoreInkBody(view, dots, tables, ink, glyphsTried, likeness);
}
