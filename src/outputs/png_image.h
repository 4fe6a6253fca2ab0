#pragma once
#include <cstdint>

#include "outputs/png_rows.h"
#include "screens/c64_colours.h"

// Whether this build can write PNG images: only where libpng was found.
extern const bool PngOutputAvailable;

// The largest PNG the preview can give, at the largest scale and bit depth:
// the raw rows (a filter byte and 1280 bytes each, 1600 of them), what
// deflate adds to
// data it cannot shrink (some bytes every 16 KiB), the chunk frames around
// every 8 KiB of it, and the header, palette and end chunks, with room to
// spare for all but the raw rows.
inline constexpr int32_t PngImageCapacity =
    (1 + LargestScaledRowBytes) * PixelRows * LargestScale * 101 / 100 + 4096;

// Writes the PNG of pixelRows (PixelRows rows of PixelRowBytes, top row
// first, a set bit in its cell's ink from inks, one C64 colour number a
// cell, the other bits in the background colour) at the given scale into
// image (PngImageCapacity bytes) and returns its size; 0 when libpng could
// not get its working memory, or in a build without PNG output.
int32_t EncodePngImage(const uint8_t* pixelRows, const uint8_t* inks, uint8_t background,
                       int scale, uint8_t* image);
