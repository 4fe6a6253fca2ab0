#include "outputs/screen_drawing.h"

#include "bmp/pixel_layout.h"
#include "match/screen_layout.h"

void DrawScreen(const uint8_t* screenCodes, uint8_t* pixelRows, CharacterSet set) {
  const uint8_t* table = GlyphTableOf(set);
  for (int16_t row = 0; row < CellRows; ++row) {
    for (int16_t column = 0; column < CellColumns; ++column) {
      const int glyph = screenCodes[row * CellColumns + column];
      for (int16_t line = 0; line < GlyphRows; ++line)
        pixelRows[(row * GlyphRows + line) * PixelRowBytes + column] =
            table[glyph * GlyphRows + line];
    }
  }
}
