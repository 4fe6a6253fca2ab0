#include "outputs/png_rows.h"

#include "match/screen_layout.h"

void ChoosePalette(const uint8_t* inks, uint8_t background, PreviewPalette& palette) {
  bool used[C64ColourCount] = {};
  palette.count = 0;
  const auto add = [&palette, &used](uint8_t colour) {
    if (used[colour]) return;
    used[colour] = true;
    palette.entryOf[colour] = static_cast<uint8_t>(palette.count);
    palette.colours[palette.count++] = colour;
  };
  add(background);
  for (int cell = 0; cell < CellCount; ++cell) add(inks[cell]);
  palette.bitDepth = palette.count <= 2 ? 1 : palette.count <= 4 ? 2 : LargestBitDepth;
}

void ScaleColourRow(const uint8_t* sourceRow, const uint8_t* rowInks,
                    const PreviewPalette& palette, int scale, uint8_t* scaledRow) {
  const int depth = palette.bitDepth;
  const int pixelsPerByte = 8 / depth;
  for (int byte = 0; byte < PixelRowBytes * scale * depth; ++byte) scaledRow[byte] = 0;
  for (int pixel = 0; pixel < PixelColumns * scale; ++pixel) {
    const int source = pixel / scale;
    const bool set = (sourceRow[source / 8] & (0x80 >> (source % 8))) != 0;
    const int entry = set ? palette.entryOf[rowInks[source / 8]] : 0;
    // The leftmost pixel of a byte sits in its highest bits.
    const int shift = (pixelsPerByte - 1 - pixel % pixelsPerByte) * depth;
    scaledRow[pixel / pixelsPerByte] |= static_cast<uint8_t>(entry << shift);
  }
}
