#pragma once
#include <cstdint>

#include "match/character_sets.h"

// Screen codes whose glyph reads as text up close: @ and the letters (0 to
// 26: A to Z in the upper-case set, a to z in the lower-case one, where 65
// to 90 are A to Z too), the pound sign (28), # $ % & (35 to 38) and the
// digits (48 to 57), and the same glyphs reversed, 128 higher. Drawn for
// shading, a cell of them reads as a word, not as grey.
constexpr bool IsTextLike(uint8_t code, CharacterSet set = CharacterSet::Upper) {
  const int normal = code & 127;
  return normal <= 26 || normal == 28 || (normal >= 35 && normal <= 38) ||
         (normal >= 48 && normal <= 57) ||
         (set == CharacterSet::Lower && normal >= 65 && normal <= 90);
}
