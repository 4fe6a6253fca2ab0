#include "console/terminal_text.h"

namespace {

constexpr uint16_t Undefined = 0xFFFD;  // the replacement character

// Code page 1252 from 0x80 to 0x9F; the rest of its upper half is Latin-1.
constexpr uint16_t upperControls[32] = {
    0x20AC, Undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030,    0x0160, 0x2039, 0x0152, Undefined, 0x017D, Undefined,
    Undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122,    0x0161, 0x203A, 0x0153, Undefined, 0x017E, 0x0178,
};

uint16_t CodePointFor(uint8_t character) {
  if (character < 0x20) return static_cast<uint16_t>(0x2400 + character);  // control pictures
  if (character == 0x7F) return 0x2421;                                    // the picture of DEL
  if (character < 0x80) return character;
  if (character < 0xA0) return upperControls[character - 0x80];
  if (character == 0xAD) return '-';  // a soft hyphen may take no cell at all
  return character;
}

}  // namespace

int EncodeTerminalCell(uint8_t character, char* out) {
  uint16_t code = CodePointFor(character);
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (code >> 12));
  out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (code & 0x3F));
  return 3;
}
