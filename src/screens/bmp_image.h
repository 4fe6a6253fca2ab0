#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"

// The one BMP form the renderer and the preparer write, and the converter reads: a 14-byte
// file header, a 40-byte info header (320 x 200, 1 plane, 1 bit per pixel,
// no compression), a colour table of black then white, and 200 rows of 40
// bytes, bottom row first. A set bit takes colour 1, white.
inline constexpr int ImageHeaderSize = 54;
inline constexpr int ImagePixelOffset = 62;  // after the two colour table entries
inline constexpr int ImageFileSize = ImagePixelOffset + PixelDataSize;  // 8062

// Fills image (ImageFileSize bytes) from pixelRows, which has the layout of
// PixelData (top row first).
void BuildBmpImage(const uint8_t* pixelRows, uint8_t* image);
