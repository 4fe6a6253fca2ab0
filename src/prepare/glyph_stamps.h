#pragma once
#include <cstdint>

#include "match/character_sets.h"
#include "match/glyph_table.h"
#include "prepare/viewing_blur.h"

// Every glyph's pattern blurred into the square around its cell, as the
// glyph method needs it. The square is measured in blocks of StampBlock
// pixels a side; a stamp's pixels are kept block by block (the 16 pixels of
// block 0 row by row, then block 1, ...), so that the sums over one block
// run over consecutive values.
inline constexpr int StampBlock = 4;
inline constexpr int StampBlocksAcross = StampSpan / StampBlock;
inline constexpr int StampBlocks = StampBlocksAcross * StampBlocksAcross;
inline constexpr int BlockPixels = StampBlock * StampBlock;
static_assert(StampSpan % StampBlock == 0 && StampMargin % StampBlock == 0,
              "blocks tile the square, and lie wholly inside or outside the screen");

// Where pixel (i, j) of the square, counted from its top left, is kept.
constexpr int BlockOrder(int i, int j) {
  return ((j / StampBlock) * StampBlocksAcross + i / StampBlock) * BlockPixels +
         (j % StampBlock) * StampBlock + i % StampBlock;
}

// The cell's own pixels, unblurred, in blocks of the same size: the sharp
// look of a glyph up close.
inline constexpr int OwnBlocksAcross = GlyphRows / StampBlock;
inline constexpr int OwnBlocks = OwnBlocksAcross * OwnBlocksAcross;
inline constexpr int OwnPixels = GlyphRows * GlyphRows;
static_assert(GlyphRows % StampBlock == 0, "blocks tile the cell");

// Where pixel (i, j) of the cell is kept, block by block.
constexpr int OwnOrder(int i, int j) {
  return ((j / StampBlock) * OwnBlocksAcross + i / StampBlock) * BlockPixels +
         (j % StampBlock) * StampBlock + i % StampBlock;
}

struct GlyphStamps {
  float byGlyph[GlyphCount][StampPixels];  // each glyph's stamp, in block order
  float byPixel[StampPixels][GlyphCount];  // the same, every glyph's value at a pixel side by side
  float blockSums[GlyphCount][StampBlocks];
  float blockSquares[GlyphCount][StampBlocks];  // sums of the squared values
  float blockSumsByBlock[StampBlocks][GlyphCount];
  float blockSquaresByBlock[StampBlocks][GlyphCount];
  bool reached[StampPixels];  // some glyph's pattern reaches the pixel
  float bitsByGlyph[GlyphCount][OwnPixels];  // 1 where the glyph sets the pixel, own order
  float bitsByPixel[OwnPixels][GlyphCount];
  float ownSumsByBlock[OwnBlocks][GlyphCount];  // pixels set in each block
  float ownSums[GlyphCount][OwnBlocks];
  bool repeats[GlyphCount];  // drawn exactly as a lower glyph: no need to try it
};

// The stamps of the character set chosen last by UseGlyphSet, the
// upper-case/graphics set until then, blurred as UseViewingDistance chose
// last. Each set's are made on first use and the same for every run; the
// set and distance are chosen once, before any glyphs are.
const GlyphStamps& TheGlyphStamps();
void UseGlyphSet(CharacterSet set);
