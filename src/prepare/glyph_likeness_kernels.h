#pragma once
#include "prepare/glyph_likeness.h"

// MeasureGlyphs for any processor, and for x86 processors with AVX2 and
// FMA; call the second only where CpuHasAvx2() (match/avx2_search.h) holds.
void MeasureGlyphsPortable(const CellView& view, const LightnessTables& tables, int glyphsTried,
                           float likeness[GlyphCount]);
void MeasureGlyphsAvx2(const CellView& view, const LightnessTables& tables, int glyphsTried,
                       float likeness[GlyphCount]);
