#pragma once
// The bodies of DotGlyphs and ScoreInk, compiled once for any processor and
// once more for processors with wider vectors: their loops run over all
// glyphs at once, which the compiler turns into vector operations of the
// width it is allowed.
#include <algorithm>
#include <cmath>

#include "prepare/glyph_likeness.h"
#include "prepare/lightness.h"

[[gnu::always_inline]] inline void DotGlyphsBody(const CellView& view, int glyphsTried,
                                                 GlyphDots& dots) {
  const GlyphStamps& stamps = TheGlyphStamps();
  for (int block = 0; block < StampBlocks; ++block) {
    if (!view.square.blockOnScreen[block]) continue;
    float* restDot = dots.rest[block];
    float* wantedDot = dots.wanted[block];
    std::fill(restDot, restDot + glyphsTried, 0.0f);
    std::fill(wantedDot, wantedDot + glyphsTried, 0.0f);
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k) {
      if (!stamps.reached[k]) continue;
      const float rest = view.rest[k], wanted = view.wantedLightness[k];
      const float* values = stamps.byPixel[k];
      for (int glyph = 0; glyph < glyphsTried; ++glyph) {
        restDot[glyph] += rest * values[glyph];
        wantedDot[glyph] += wanted * values[glyph];
      }
    }
  }
  if (!view.upClose) return;
  for (int block = 0; block < OwnBlocks; ++block) {
    float* ownDot = dots.ownWanted[block];
    std::fill(ownDot, ownDot + glyphsTried, 0.0f);
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k) {
      const float wanted = view.ownWanted[k];
      const float* bits = stamps.bitsByPixel[k];
      for (int glyph = 0; glyph < glyphsTried; ++glyph) ownDot[glyph] += wanted * bits[glyph];
    }
  }
}

// The structural similarity up close of one of the cell's own blocks, for
// count glyphs in the ink: each pixel shows the background's lightness or
// the ink's, so the block's mean, variance and covariance with the picture
// follow from how many pixels the glyph sets and the picture's lightness
// under them.
[[gnu::always_inline]] inline void ScoreOwnBlockBody(const CellView& view, int block,
                                                     const InkStep& ink, int count,
                                                     const float* setCounts,
                                                     const float* ownDot, float* likeness) {
  constexpr float PerPixel = 1.0f / BlockPixels;
  const float base = view.backgroundLightness, step = ink.lightness;
  const float wantedMean = view.ownMean[block], wantedVariance = view.ownVariance[block];
  for (int glyph = 0; glyph < count; ++glyph) {
    const float share = setCounts[glyph] * PerPixel;
    const float mean = base + step * share;
    const float variance = step * step * share * (1 - share);
    const float covariance = step * (ownDot[glyph] * PerPixel - share * wantedMean);
    likeness[glyph] += ink.sharpWeight * (2 * mean * wantedMean + MeanConstant) *
                       (2 * covariance + VarianceConstant) /
                       ((mean * mean + wantedMean * wantedMean + MeanConstant) *
                        (variance + wantedVariance + VarianceConstant));
  }
}

// The likeness terms of one block for count glyphs drawn in the ink, whose
// block sums, sums of squares and dots lie side by side in the arrays.
[[gnu::always_inline]] inline void ScoreBlockBody(const CellView& view, int block,
                                                  const LightnessTables& tables,
                                                  const InkStep& ink, int count,
                                                  const float* sums, const float* squares,
                                                  const float* restDot, const float* wantedDot,
                                                  float* likeness) {
  constexpr float PerPixel = 1.0f / BlockPixels;
  const float step = ink.luminance;
  float mean[GlyphCount];
  int32_t level[GlyphCount];
  for (int glyph = 0; glyph < count; ++glyph) {
    const float m = (view.restSum[block] + step * sums[glyph]) * PerPixel;
    mean[glyph] = m;
    // A float is turned to a level before it is bounded, as integers: the
    // compiler can only then make vectors of the loop. Means stray from 0
    // to 1 by rounding errors only.
    const auto unbounded = static_cast<int32_t>(m * LightnessSteps + 0.5f);
    level[glyph] = std::min(std::max(unbounded, int32_t{0}), int32_t{LightnessSteps});
  }
  float shownMean[GlyphCount], slope[GlyphCount];
  for (int glyph = 0; glyph < count; ++glyph) {
    shownMean[glyph] = tables.lightness[level[glyph]];
    slope[glyph] = tables.slope[level[glyph]];
  }
  const float wantedMean = view.lightnessMean[block];
  const float wantedVariance = view.lightnessVariance[block];
  const float restSquares = view.restSquares[block], restWanted = view.restWanted[block];
  for (int glyph = 0; glyph < count; ++glyph) {
    const float m = mean[glyph];
    const float variance =
        (restSquares + step * (2 * restDot[glyph] + step * squares[glyph])) * PerPixel - m * m;
    const float covariance = (restWanted + step * wantedDot[glyph]) * PerPixel - m * wantedMean;
    const float s = slope[glyph], shown = shownMean[glyph];
    likeness[glyph] +=
        (2 * shown * wantedMean + MeanConstant) * (2 * s * covariance + VarianceConstant) /
        ((shown * shown + wantedMean * wantedMean + MeanConstant) *
         (s * s * variance + wantedVariance + VarianceConstant));
  }
  if (ink.colourWeight == 0) return;
  // The block's mean colour differs from the picture's by the rest's
  // difference plus the ink's step times the glyph's share of the block:
  // a length in Lab that is a square root of a quadratic in that share.
  float offset[ChannelCount], inkLab[ChannelCount];
  for (int lab = 0; lab < ChannelCount; ++lab) {
    offset[lab] = view.restFromWanted[block][lab];
    inkLab[lab] = 0;
    for (int channel = 0; channel < ChannelCount; ++channel)
      inkLab[lab] += view.labSlope[block][lab][channel] * ink.colour[channel];
  }
  float constant = 0, linear = 0, quadratic = 0;
  for (int lab = 0; lab < ChannelCount; ++lab) {
    constant += offset[lab] * offset[lab];
    linear += 2 * offset[lab] * inkLab[lab];
    quadratic += inkLab[lab] * inkLab[lab];
  }
  for (int glyph = 0; glyph < count; ++glyph) {
    const float share = sums[glyph] * PerPixel;
    const float squared = constant + share * (linear + share * quadratic);
    likeness[glyph] -= ink.colourWeight * std::sqrt(std::max(squared, 0.0f));
  }
}

// How much farther the ink is than the background from the picture's
// colour, at each of the cell's own pixels.
inline const float* InkFarther(const CellView& view, const InkStep& ink) {
  float* farther = view.inkFarther[ink.number];
  if ((view.inksMeasured >> ink.number & 1) != 0) return farther;
  for (int k = 0; k < OwnPixels; ++k) {
    float sum = 0;
    for (int lab = 0; lab < ChannelCount; ++lab) {
      const float d = view.ownLab[k].values[lab] - ink.lab.values[lab];
      sum += d * d;
    }
    farther[k] = std::sqrt(sum) - view.backgroundDistance[k];
  }
  view.inksMeasured = static_cast<uint16_t>(view.inksMeasured | 1u << ink.number);
  return farther;
}

[[gnu::always_inline]] inline void ScoreInkBody(const CellView& view, const GlyphDots& dots,
                                                const LightnessTables& tables, const InkStep& ink,
                                                int glyphsTried, float likeness[GlyphCount]) {
  const GlyphStamps& stamps = TheGlyphStamps();
  for (int block = 0; block < StampBlocks; ++block) {
    if (!view.square.blockOnScreen[block]) continue;
    ScoreBlockBody(view, block, tables, ink, glyphsTried, stamps.blockSumsByBlock[block],
                   stamps.blockSquaresByBlock[block], dots.rest[block], dots.wanted[block],
                   likeness);
  }
  if (ink.sharpWeight != 0)
    for (int block = 0; block < OwnBlocks; ++block)
      ScoreOwnBlockBody(view, block, ink, glyphsTried, stamps.ownSumsByBlock[block],
                        dots.ownWanted[block], likeness);
  if (ink.sharpColourWeight == 0) return;
  // Up close each pixel shows the ink or the background: the cell's colour
  // difference is the background's everywhere, changed where the glyph
  // sets pixels by how much farther (or nearer) the ink is there.
  const float perPixel = ink.sharpColourWeight / OwnPixels;
  float change[GlyphCount];
  std::fill(change, change + glyphsTried, 0.0f);
  const float* farther = InkFarther(view, ink);
  for (int k = 0; k < OwnPixels; ++k) {
    const float* bits = stamps.bitsByPixel[k];
    for (int glyph = 0; glyph < glyphsTried; ++glyph) change[glyph] += farther[k] * bits[glyph];
  }
  for (int glyph = 0; glyph < glyphsTried; ++glyph)
    likeness[glyph] -= perPixel * (view.backgroundDistanceSum + change[glyph]);
}
