#pragma once
#include <cstdint>

#include "match/glyph_table.h"
#include "picture/screen_picture.h"

// The blurs by which the glyph method judges the screen: what the eye
// merges at a little distance. Gaussians of a spread in pixels, cut at a
// radius; a cell's pattern then reaches that far into its neighbours. A
// cell is judged over itself and a margin of StampMargin pixels, at least
// as wide: a square of StampSpan pixels a side. The screen is measured at
// two distances, Gaussians of 1 and 2 pixels. Colour is judged nearer, at
// 1.2: a wider blur let it mix far inks into busy checkers. One ink is
// judged farther, at 1.6 cut at 4, where its texture merges into tone:
// more alike at both distances (0.624 to 0.629 on the pictures it was
// tried on), as clean up close, with its cells weighed up close a little
// more (OneInkSharpWeight).
struct ViewingBlur {
  float spread;
  int radius;
};
enum class ViewingDistance : uint8_t { Near, Far };
inline constexpr ViewingBlur ViewingBlurs[] = {{1.2f, 2}, {1.6f, 4}};
inline constexpr int StampMargin = 4;
inline constexpr int StampSpan = GlyphRows + 2 * StampMargin;
static_assert(ViewingBlurs[0].radius <= StampMargin && ViewingBlurs[1].radius <= StampMargin);
inline constexpr int StampPixels = StampSpan * StampSpan;

// The blur of BlurCell, BlurPlane and the glyph stamps from now on; the
// near one until it is called.
void UseViewingDistance(ViewingDistance distance);
ViewingDistance TheViewingDistance();
const ViewingBlur& TheViewingBlur();

// A cell's 8 x 8 values (row by row) blurred into the square around it.
void BlurCell(const float cell[GlyphRows * GlyphRows], float stamp[StampPixels]);

// The whole screen blurred, with nothing beyond its edges: cells are
// blurred the same way, so both lose the same at the edges.
void BlurPlane(const float plane[ScreenPicturePixels], float blurred[ScreenPicturePixels]);
