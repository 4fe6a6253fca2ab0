#include "prepare/glyph_likeness.h"

#include "match/avx2_search.h"
#include "prepare/glyph_likeness_body.h"
#include "prepare/glyph_likeness_kernels.h"

void MeasureGlyphsPortable(const CellView& view, const LightnessTables& tables, int glyphsTried,
                           float likeness[GlyphCount]) {
  MeasureGlyphsBody(view, tables, glyphsTried, likeness);
}

void MeasureGlyphs(const CellView& view, const LightnessTables& tables, int glyphsTried,
                   float likeness[GlyphCount]) {
  static const bool wide = CpuHasAvx2();
  if (wide) {
    MeasureGlyphsAvx2(view, tables, glyphsTried, likeness);
  } else {
    MeasureGlyphsPortable(view, tables, glyphsTried, likeness);
  }
}
