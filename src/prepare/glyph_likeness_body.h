#pragma once
// The body of MeasureGlyphs, compiled once for any processor and once more
// for processors with wider vectors: its loops run over all glyphs at once,
// which the compiler turns into vector operations of the width it is
// allowed.
#include <algorithm>

#include "prepare/glyph_likeness.h"

// The structural similarity's constants for lightness from 0 to 100.
inline constexpr float MeanConstant = 1.0f;      // (0.01 x 100)^2
inline constexpr float VarianceConstant = 9.0f;  // (0.03 x 100)^2

[[gnu::always_inline]] inline void MeasureGlyphsBody(const CellView& view, const LightnessTables& tables, int glyphsTried,
                              float likeness[GlyphCount]) {
  const GlyphStamps& stamps = TheGlyphStamps();
  std::fill(likeness, likeness + glyphsTried, 0.0f);
  constexpr float PerPixel = 1.0f / BlockPixels;
  for (int block = 0; block < StampBlocks; ++block) {
    if (!view.square.blockOnScreen[block]) continue;
    float restDot[GlyphCount] = {}, wantedDot[GlyphCount] = {};
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k) {
      if (!stamps.reached[k]) continue;
      const float rest = view.rest[k], wanted = view.wantedLightness[k];
      const float* values = stamps.byPixel[k];
      for (int glyph = 0; glyph < glyphsTried; ++glyph) {
        restDot[glyph] += rest * values[glyph];
        wantedDot[glyph] += wanted * values[glyph];
      }
    }
    const float* sums = stamps.blockSumsByBlock[block];
    const float* squares = stamps.blockSquaresByBlock[block];
    float mean[GlyphCount];
    int32_t step[GlyphCount];
    for (int glyph = 0; glyph < glyphsTried; ++glyph) {
      const float m = (view.restSum[block] + sums[glyph]) * PerPixel;
      mean[glyph] = m;
      // A float is turned to a step before it is bounded, as integers: the
      // compiler can only then make vectors of the loop. Means stray from 0
      // to 1 by rounding errors only.
      const auto unbounded = static_cast<int32_t>(m * LightnessSteps + 0.5f);
      step[glyph] = std::min(std::max(unbounded, int32_t{0}), int32_t{LightnessSteps});
    }
    float shownMean[GlyphCount], slope[GlyphCount];
    for (int glyph = 0; glyph < glyphsTried; ++glyph) {
      shownMean[glyph] = tables.lightness[step[glyph]];
      slope[glyph] = tables.slope[step[glyph]];
    }
    const float wantedMean = view.lightnessMean[block];
    const float wantedVariance = view.lightnessVariance[block];
    for (int glyph = 0; glyph < glyphsTried; ++glyph) {
      const float m = mean[glyph];
      const float variance = (view.restSquares[block] + 2 * restDot[glyph] + squares[glyph]) * PerPixel - m * m;
      const float covariance = (view.restWanted[block] + wantedDot[glyph]) * PerPixel - m * wantedMean;
      const float s = slope[glyph], shown = shownMean[glyph];
      likeness[glyph] += (2 * shown * wantedMean + MeanConstant) * (2 * s * covariance + VarianceConstant) /
                         ((shown * shown + wantedMean * wantedMean + MeanConstant) *
                          (s * s * variance + wantedVariance + VarianceConstant));
    }
  }
}

