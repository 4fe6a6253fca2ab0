#include "prepare/glyph_likeness.h"

#include "match/avx2_search.h"
#include "prepare/glyph_likeness_body.h"
#include "prepare/glyph_likeness_kernels.h"

void DotGlyphsPortable(const CellView& view, int glyphsTried, GlyphDots& dots) {
  DotGlyphsBody(view, glyphsTried, dots);
}

void ScoreInkPortable(const CellView& view, const GlyphDots& dots, const LightnessTables& tables,
                      const InkStep& ink, int glyphsTried, float likeness[GlyphCount]) {
  ScoreInkBody(view, dots, tables, ink, glyphsTried, likeness);
}

namespace {

const bool wideVectors = CpuHasAvx2();

}  // namespace

void DotGlyphs(const CellView& view, int glyphsTried, GlyphDots& dots) {
  if (wideVectors) {
    DotGlyphsAvx2(view, glyphsTried, dots);
  } else {
    DotGlyphsPortable(view, glyphsTried, dots);
  }
}

void ScoreInk(const CellView& view, const GlyphDots& dots, const LightnessTables& tables,
              const InkStep& ink, int glyphsTried, float likeness[GlyphCount]) {
  if (wideVectors) {
    ScoreInkAvx2(view, dots, tables, ink, glyphsTried, likeness);
  } else {
    ScoreInkPortable(view, dots, tables, ink, glyphsTried, likeness);
  }
}
