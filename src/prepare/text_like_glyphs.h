#pragma once
#include <cstdint>

// Screen codes whose glyph reads as text up close: @ and the letters A to Z
// (0 to 26), the pound sign (28), # $ % & (35 to 38) and the digits (48 to
// 57), and the same glyphs reversed, 128 higher. Drawn for shading, a cell
// of them reads as a word, not as grey.
constexpr bool IsTextLike(uint8_t code) {
  const int normal = code & 127;
  return normal <= 26 || normal == 28 || (normal >= 35 && normal <= 38) ||
         (normal >= 48 && normal <= 57);
}
