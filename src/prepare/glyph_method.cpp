#include "prepare/glyph_method.h"

#include <algorithm>

#include "prepare/glyph_likeness.h"
#include "prepare/glyph_stamps.h"
#include "prepare/lightness.h"

namespace {

constexpr int Width = PixelColumns;
constexpr int Height = PixelRows;

// At most this many sweeps over the screen; a sweep visits only the cells
// whose surroundings changed since their last choice.
constexpr int MostSweeps = 3;


struct Screen {
  float target[ScreenPicturePixels];           // the picture's coverage, blurred
  float targetLightness[ScreenPicturePixels];  // the same, as lightness
  float shown[ScreenPicturePixels];            // the screen's pixels, blurred
  float cellStamp[CellCount][StampPixels];     // what each cell adds to shown now, in block order
  uint8_t codes[CellCount];
  bool dirty[CellCount];  // its surroundings changed since it was last chosen
};

Screen screen;
LightnessTables tables;

CellSquare SquareOf(int cell) {
  CellSquare square{};
  square.left = (cell % CellColumns) * GlyphRows - StampMargin;
  square.top = (cell / CellColumns) * GlyphRows - StampMargin;
  for (int block = 0; block < StampBlocks; ++block) {
    const int x = square.left + (block % StampBlocksAcross) * StampBlock;
    const int y = square.top + (block / StampBlocksAcross) * StampBlock;
    square.blockOnScreen[block] = x >= 0 && x < Width && y >= 0 && y < Height;
  }
  return square;
}

void ViewCell(int cell, CellView& view) {
  view.square = SquareOf(cell);
  const float* own = screen.cellStamp[cell];
  for (int j = 0; j < StampSpan; ++j)
    for (int i = 0; i < StampSpan; ++i) {
      const int k = BlockOrder(i, j);
      if (!view.square.blockOnScreen[k / BlockPixels]) {
        view.rest[k] = view.wanted[k] = view.wantedLightness[k] = 0;
        continue;
      }
      const int at = (view.square.top + j) * Width + view.square.left + i;
      view.rest[k] = screen.shown[at] - own[k];
      view.wanted[k] = screen.target[at];
      view.wantedLightness[k] = screen.targetLightness[at];
    }
  for (int block = 0; block < StampBlocks; ++block) {
    float r = 0, rr = 0, ry = 0, y = 0, yy = 0, c = 0;
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k) {
      r += view.rest[k], rr += view.rest[k] * view.rest[k];
      ry += view.rest[k] * view.wantedLightness[k];
      y += view.wantedLightness[k], yy += view.wantedLightness[k] * view.wantedLightness[k];
      c += view.wanted[k];
    }
    view.restSum[block] = r, view.restSquares[block] = rr, view.restWanted[block] = ry;
    view.lightnessMean[block] = y / BlockPixels;
    view.lightnessVariance[block] = yy / BlockPixels - view.lightnessMean[block] * view.lightnessMean[block];
    view.wantedSlope[block] = tables.slope[LightnessStep(c / BlockPixels)];
  }
}

uint8_t ChooseCell(int cell, int glyphsTried) {
  static CellView view;
  ViewCell(cell, view);
  float likeness[GlyphCount];
  MeasureGlyphs(view, tables, glyphsTried, likeness);
  const GlyphStamps& stamps = TheGlyphStamps();
  int best = 0;
  for (int glyph = 1; glyph < glyphsTried; ++glyph)
    if (!stamps.repeats[glyph] && likeness[glyph] > likeness[best]) best = glyph;
  return static_cast<uint8_t>(best);
}

// Puts a stamp in place of what the cell showed.
void PlaceStamp(int cell, const float stamp[StampPixels]) {
  const CellSquare square = SquareOf(cell);
  float* own = screen.cellStamp[cell];
  for (int j = 0; j < StampSpan; ++j)
    for (int i = 0; i < StampSpan; ++i) {
      const int k = BlockOrder(i, j);
      if (!square.blockOnScreen[k / BlockPixels]) continue;
      screen.shown[(square.top + j) * Width + square.left + i] += stamp[k] - own[k];
    }
  std::copy(stamp, stamp + StampPixels, own);
}

void MarkSurroundings(int cell) {
  const int row = cell / CellColumns, column = cell % CellColumns;
  for (int r = std::max(0, row - 1); r <= std::min(CellRows - 1, row + 1); ++r)
    for (int c = std::max(0, column - 1); c <= std::min(CellColumns - 1, column + 1); ++c)
      screen.dirty[r * CellColumns + c] = true;
}

// Before the first choice the screen is taken to show the picture itself,
// so that every cell is first judged among neighbours like the picture.
void ShowPicture(const CoveragePlane& coverage) {
  BlurPlane(coverage.values, screen.target);
  for (int at = 0; at < ScreenPicturePixels; ++at)
    screen.targetLightness[at] = tables.lightness[LightnessStep(screen.target[at])];
  std::copy(screen.target, screen.target + ScreenPicturePixels, screen.shown);
  for (int cell = 0; cell < CellCount; ++cell) {
    const int left = (cell % CellColumns) * GlyphRows, top = (cell / CellColumns) * GlyphRows;
    float pixels[GlyphRows * GlyphRows];
    for (int j = 0; j < GlyphRows; ++j)
      for (int i = 0; i < GlyphRows; ++i)
        pixels[j * GlyphRows + i] = coverage.values[(top + j) * Width + left + i];
    float square[StampPixels];
    BlurCell(pixels, square);
    for (int j = 0; j < StampSpan; ++j)
      for (int i = 0; i < StampSpan; ++i)
        screen.cellStamp[cell][BlockOrder(i, j)] = square[j * StampSpan + i];
    screen.codes[cell] = 0;
    screen.dirty[cell] = true;
  }
}

}  // namespace

void ChooseGlyphs(const CoveragePlane& coverage, bool darkPartsDrawn, bool normalGlyphsOnly,
                  uint8_t codes[CellCount]) {
  const GlyphStamps& stamps = TheGlyphStamps();
  MakeLightnessTables(darkPartsDrawn, tables);
  ShowPicture(coverage);
  const int glyphsTried = normalGlyphsOnly ? NormalGlyphCount : GlyphCount;
  bool first = true;
  for (int sweep = 0; sweep < MostSweeps; ++sweep) {
    bool anyChanged = false;
    for (int cell = 0; cell < CellCount; ++cell) {
      if (!screen.dirty[cell]) continue;
      screen.dirty[cell] = false;
      const uint8_t glyph = ChooseCell(cell, glyphsTried);
      if (!first && glyph == screen.codes[cell]) continue;
      screen.codes[cell] = glyph;
      PlaceStamp(cell, stamps.byGlyph[glyph]);
      MarkSurroundings(cell);
      anyChanged = true;
    }
    first = false;
    if (!anyChanged) break;
  }
  std::copy(screen.codes, screen.codes + CellCount, codes);
}

void DrawGlyphs(const uint8_t codes[CellCount], BitPicture& picture) {
  for (int cell = 0; cell < CellCount; ++cell) {
    const int row = cell / CellColumns, column = cell % CellColumns;
    for (int j = 0; j < GlyphRows; ++j)
      picture.rows[(row * GlyphRows + j) * PixelRowBytes + column] =
          GlyphTable[codes[cell] * GlyphRows + j];
  }
}
