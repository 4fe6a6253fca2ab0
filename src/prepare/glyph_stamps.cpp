#include "prepare/glyph_stamps.h"

#include "match/row_pattern.h"

namespace {

// By set, then by viewing distance.
GlyphStamps stampsOf[2][2];
bool made[2][2] = {};
CharacterSet chosenSet = CharacterSet::Upper;

void MakeGlyphStamps(CharacterSet set, GlyphStamps& stamps) {
  const uint8_t* table = GlyphTableOf(set);
  const uint64_t* patterns = GlyphPatternsOf(set);
  const int radius = TheViewingBlur().radius;
  for (int glyph = 0; glyph < GlyphCount; ++glyph) {
    float cell[GlyphRows * GlyphRows];
    for (int j = 0; j < GlyphRows; ++j)
      for (int i = 0; i < GlyphRows; ++i)
        cell[j * GlyphRows + i] = (table[glyph * GlyphRows + j] & BitMaskTable[i]) ? 1.0f : 0;
    for (int j = 0; j < GlyphRows; ++j)
      for (int i = 0; i < GlyphRows; ++i) {
        const float bit = cell[j * GlyphRows + i];
        stamps.bitsByGlyph[glyph][OwnOrder(i, j)] = bit;
        stamps.bitsByPixel[OwnOrder(i, j)][glyph] = bit;
      }
    for (int block = 0; block < OwnBlocks; ++block) {
      float count = 0;
      for (int p = 0; p < BlockPixels; ++p) count += stamps.bitsByGlyph[glyph][block * BlockPixels + p];
      stamps.ownSumsByBlock[block][glyph] = count;
      stamps.ownSums[glyph][block] = count;
    }
    float square[StampPixels];
    BlurCell(cell, square);
    for (int j = 0; j < StampSpan; ++j)
      for (int i = 0; i < StampSpan; ++i) {
        const float value = square[j * StampSpan + i];
        const int k = BlockOrder(i, j);
        stamps.byGlyph[glyph][k] = value;
        stamps.byPixel[k][glyph] = value;
        stamps.reached[k] = i >= StampMargin - radius && i < StampSpan - StampMargin + radius &&
                            j >= StampMargin - radius && j < StampSpan - StampMargin + radius;
      }
    for (int block = 0; block < StampBlocks; ++block) {
      float sum = 0, squares = 0;
      for (int p = 0; p < BlockPixels; ++p) {
        const float value = stamps.byGlyph[glyph][block * BlockPixels + p];
        sum += value, squares += value * value;
      }
      stamps.blockSums[glyph][block] = sum;
      stamps.blockSquares[glyph][block] = squares;
      stamps.blockSumsByBlock[block][glyph] = sum;
      stamps.blockSquaresByBlock[block][glyph] = squares;
    }
    stamps.repeats[glyph] = false;
    for (int lower = 0; lower < glyph; ++lower)
      if (patterns[lower] == patterns[glyph]) stamps.repeats[glyph] = true;
  }
}

}  // namespace

const GlyphStamps& TheGlyphStamps() {
  const auto set = static_cast<int>(chosenSet);
  const auto distance = static_cast<int>(TheViewingDistance());
  if (!made[set][distance])
    MakeGlyphStamps(chosenSet, stampsOf[set][distance]), made[set][distance] = true;
  return stampsOf[set][distance];
}

void UseGlyphSet(CharacterSet set) { chosenSet = set; }
