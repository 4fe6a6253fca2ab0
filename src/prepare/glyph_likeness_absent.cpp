#include "prepare/glyph_likeness_kernels.h"

// Processors outside the x86 family: CpuHasAvx2() is false, and these are
// never called; they hand the work on all the same.
void DotGlyphsAvx2(const CellView& view, int glyphsTried, GlyphDots& dots) {
  DotGlyphsPortable(view, glyphsTried, dots);
}

void ScoreInkAvx2(const CellView& view, const GlyphDots& dots, const LightnessTables& tables,
                  const InkStep& ink, int glyphsTried, float likeness[GlyphCount]) {
  ScoreInkPortable(view, dots, tables, ink, glyphsTried, likeness);
}
