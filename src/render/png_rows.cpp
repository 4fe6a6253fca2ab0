#include "render/png_rows.h"

void ScalePixelRow(const uint8_t* sourceRow, int scale, uint8_t* scaledRow) {
  const int scaledBits = PixelColumns * scale;
  for (int byte = 0; byte < PixelRowBytes * scale; ++byte) scaledRow[byte] = 0;
  for (int bit = 0; bit < scaledBits; ++bit) {
    const int source = bit / scale;
    if (sourceRow[source / 8] & (0x80 >> (source % 8)))
      scaledRow[bit / 8] = static_cast<uint8_t>(scaledRow[bit / 8] | (0x80 >> (bit % 8)));
  }
}
