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

float ScoreGlyph(const CellView& view, const LightnessTables& tables, const InkStep& ink,
                 uint8_t glyph) {
  const GlyphStamps& stamps = TheGlyphStamps();
  const float* values = stamps.byGlyph[glyph];
  float likeness = 0;
  for (int block = 0; block < StampBlocks; ++block) {
    if (!view.square.blockOnScreen[block]) continue;
    float restDot = 0, wantedDot = 0;
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k) {
      restDot += view.rest[k] * values[k];
      wantedDot += view.wantedLightness[k] * values[k];
    }
    ScoreBlockBody(view, block, tables, ink, 1, &stamps.blockSums[glyph][block],
                   &stamps.blockSquares[glyph][block], &restDot, &wantedDot, &likeness);
  }
  const float* bits = stamps.bitsByGlyph[glyph];
  if (ink.sharpWeight != 0)
    for (int block = 0; block < OwnBlocks; ++block) {
      float ownDot = 0;
      for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k)
        ownDot += view.ownWanted[k] * bits[k];
      ScoreOwnBlockBody(view, block, ink, 1, &stamps.ownSums[glyph][block], &ownDot, &likeness);
    }
  if (ink.sharpColourWeight != 0) {
    const float* farther = InkFarther(view, ink);
    float difference = view.backgroundDistanceSum;
    for (int k = 0; k < OwnPixels; ++k) difference += bits[k] * farther[k];
    likeness -= ink.sharpColourWeight / OwnPixels * difference;
  }
  return likeness;
}
