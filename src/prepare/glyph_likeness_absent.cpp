#include "prepare/glyph_likeness_kernels.h"

// Processors outside the x86 family: CpuHasAvx2() is false, and this is
// never called; it hands the work on all the same.
void MeasureGlyphsAvx2(const CellView& view, const LightnessTables& tables, int glyphsTried,
                       float likeness[GlyphCount]) {
  MeasureGlyphsPortable(view, tables, glyphsTried, likeness);
}
