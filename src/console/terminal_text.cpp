#include "console/terminal_text.h"

#include "runtime/code_page_1252.h"

namespace {

uint16_t CodePointFor(uint8_t character) {
  if (character < 0x20) return static_cast<uint16_t>(0x2400 + character);  // control pictures
  if (character == 0x7F) return 0x2421;                                    // the picture of DEL
  if (character == 0xAD) return '-';  // a soft hyphen may take no cell at all
  return CodePointOf1252(character);
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
