#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"

// The PNG preview is the BMP preview's 320 x 200 pixels, each drawn as a
// square of scale x scale, as a two-colour palette image: index 0 the
// background, index 1 the ink, one bit a pixel, so that its rows have the
// bit order of the pixel rows.
inline constexpr int SmallestScale = 1;
inline constexpr int LargestScale = 8;
inline constexpr int DefaultScale = 2;
inline constexpr int LargestScaledRowBytes = PixelRowBytes * LargestScale;

// Widens one pixel row (PixelRowBytes bytes, bit 7 the leftmost pixel) by
// scale: scaledRow (PixelRowBytes x scale bytes) gets every pixel scale
// times over.
void ScalePixelRow(const uint8_t* sourceRow, int scale, uint8_t* scaledRow);
