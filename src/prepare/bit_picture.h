#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"

// The 1-bit picture the converter reads: 200 rows of 40 bytes, top row
// first, bit 7 of a byte the leftmost pixel, a set bit a character pixel.
struct BitPicture {
  uint8_t rows[PixelDataSize];
};

inline void SetPixel(BitPicture& picture, int x, int y) {
  picture.rows[y * PixelRowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}
