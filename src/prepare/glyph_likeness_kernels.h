#pragma once
#include "prepare/glyph_likeness.h"

// DotGlyphs and ScoreInk for any processor, and for x86 processors with AVX2
// and FMA; call the second kind only where CpuHasAvx2() (match/avx2_search.h)
// holds.
void DotGlyphsPortable(const CellView& view, int glyphsTried, GlyphDots& dots);
void ScoreInkPortable(const CellView& view, const GlyphDots& dots, const LightnessTables& tables,
                      const InkStep& ink, int glyphsTried, float likeness[GlyphCount]);
void DotGlyphsAvx2(const CellView& view, int glyphsTried, GlyphDots& dots);
void ScoreInkAvx2(const CellView& view, const GlyphDots& dots, const LightnessTables& tables,
                  const InkStep& ink, int glyphsTried, float likeness[GlyphCount]);
