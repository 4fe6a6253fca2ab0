#pragma once
#include <cstdint>

// The loaded image: 200 pixel rows of 40 bytes, top row first, bit 7 of a
// byte is the leftmost pixel. Zero until the pixel loader fills it; bytes the
// input file does not supply stay zero.
inline constexpr int PixelRowBytes = 40;
inline constexpr int PixelRows = 200;
inline constexpr int PixelDataSize = PixelRowBytes * PixelRows;

extern uint8_t PixelData[PixelDataSize];
