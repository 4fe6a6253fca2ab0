#pragma once
#include "match/glyph_table.h"
#include "picture/screen_picture.h"

// The blur by which the glyph method judges the screen: what the eye merges
// at a little distance. A Gaussian of BlurSpread pixels, cut at BlurRadius;
// a cell's pattern then reaches BlurRadius pixels into its neighbours. A
// cell is judged over itself and a margin of StampMargin pixels, at least
// as wide: a square of StampSpan pixels a side. The spread lies between the
// two distances the screen is judged at (Gaussians of 1 and 2 pixels); at
// 0.9 the method drew one ink a little too coarsely for the farther one,
// and 1.2, with each cell also judged up close, did better by both.
inline constexpr float BlurSpread = 1.2f;
inline constexpr int BlurRadius = 2;
inline constexpr int StampMargin = 4;
inline constexpr int StampSpan = GlyphRows + 2 * StampMargin;
static_assert(BlurRadius <= StampMargin);
inline constexpr int StampPixels = StampSpan * StampSpan;

// A cell's 8 x 8 values (row by row) blurred into the square around it.
void BlurCell(const float cell[GlyphRows * GlyphRows], float stamp[StampPixels]);

// The whole screen blurred, with nothing beyond its edges: cells are
// blurred the same way, so both lose the same at the edges.
void BlurPlane(const float plane[ScreenPicturePixels], float blurred[ScreenPicturePixels]);
