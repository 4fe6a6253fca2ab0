#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"
#include "screens/c64_colours.h"

// The PNG preview is the BMP preview's 320 x 200 pixels, each drawn as a
// square of scale x scale, as a palette image: entry 0 the background,
// then every other colour the cells' inks use, in the order in which they
// first appear row by row. A pixel takes the fewest bits that number all
// entries, 1, 2 or 4, so that one ink on a background stays one bit a
// pixel, with the bit order of the pixel rows.
inline constexpr int SmallestScale = 1;
inline constexpr int LargestScale = 8;
inline constexpr int DefaultScale = 2;
inline constexpr int LargestBitDepth = 4;
inline constexpr int LargestScaledRowBytes = PixelRowBytes * LargestScale * LargestBitDepth;

struct PreviewPalette {
  uint8_t colours[C64ColourCount];  // C64 colour number by entry
  uint8_t entryOf[C64ColourCount];  // entry by C64 colour number, for those in use
  int count;
  int bitDepth;
};

// The palette for inks (one C64 colour number a cell) on background.
void ChoosePalette(const uint8_t* inks, uint8_t background, PreviewPalette& palette);

// Widens one pixel row (PixelRowBytes bytes, bit 7 the leftmost pixel) into
// palette entries: a set pixel takes the ink of its cell from rowInks (one
// a cell of the row), the others the background; each pixel scale times
// over. scaledRow gets PixelRowBytes x scale x bitDepth bytes.
void ScaleColourRow(const uint8_t* sourceRow, const uint8_t* rowInks,
                    const PreviewPalette& palette, int scale, uint8_t* scaledRow);
