#pragma once
#include <cstdint>

#include "prepare/glyph_stamps.h"
#include "prepare/lightness.h"

// Where a cell's square lies on the screen, and which of its blocks are on
// the screen at all (a block lies wholly on it or wholly off it).
struct CellSquare {
  int left;
  int top;
  bool blockOnScreen[StampBlocks];
};

// What one cell's choice is judged against, over its square in block order:
// what the other cells show, and the picture.
struct CellView {
  CellSquare square;
  float rest[StampPixels];
  float wanted[StampPixels];          // the picture's coverage
  float wantedLightness[StampPixels];
  float restSum[StampBlocks];
  float restSquares[StampBlocks];
  float restWanted[StampBlocks];      // sum of rest x wanted lightness
  float lightnessMean[StampBlocks];
  float lightnessVariance[StampBlocks];
  float wantedSlope[StampBlocks];     // lightness per coverage at the block's mean
};

// The likeness of screen and picture over a cell's square, for each of the
// glyphs 0 to glyphsTried - 1 in the cell: the structural similarity of the
// two in lightness, block by block, summed over the square. Within a block
// the screen's lightness is taken as a straight line in coverage through
// the block's mean, so that its variance and covariance follow from sums
// over the glyph's values: all glyphs are measured side by side, one block
// at a time. Uses the processor's widest vectors.
void MeasureGlyphs(const CellView& view, const LightnessTables& tables, int glyphsTried,
                   float likeness[GlyphCount]);
