#pragma once
#include <cstdint>

// How the loaded image is laid out: 200 pixel rows of 40 bytes, top row
// first, bit 7 of a byte is the leftmost pixel.
inline constexpr int PixelRowBytes = 40;
inline constexpr int PixelRows = 200;
inline constexpr int PixelDataSize = PixelRowBytes * PixelRows;
