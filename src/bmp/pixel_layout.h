#pragma once
#include <cstdint>

// The one picture size the programs know: 320 x 200 pixels, one bit a
// pixel. Loaded, it is laid out as 200 pixel rows of 40 bytes, top row
// first, bit 7 of a byte the leftmost pixel.
inline constexpr int PixelColumns = 320;
inline constexpr int PixelRows = 200;
inline constexpr int PixelRowBytes = PixelColumns / 8;
inline constexpr int PixelDataSize = PixelRowBytes * PixelRows;
