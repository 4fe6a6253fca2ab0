#include "prepare/glyph_likeness_body.h"
#include "prepare/glyph_likeness_kernels.h"

// The same body, allowed 256-bit vectors and fused multiply-adds. Only this
// function uses them, so the program still runs on any x86-64 processor.
[[gnu::target("avx2,fma")]] void MeasureGlyphsAvx2(const CellView& view,
                                                   const LightnessTables& tables, int glyphsTried,
                                                   float likeness[GlyphCount]) {
  MeasureGlyphsBody(view, tables, glyphsTried, likeness);
}
