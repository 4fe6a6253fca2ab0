#include "export/asm_text.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view Header = "; 1000 screen codes, 40 x 25, row by row\nscreen:\n";
static_assert(Header.size() == AsmHeaderSize);

int Put(uint8_t* text, int at, std::string_view piece) {
  std::memcpy(text + at, piece.data(), piece.size());
  return at + static_cast<int>(piece.size());
}

}  // namespace

int BuildAsmText(const uint8_t* codes, AsmDialect dialect, uint8_t* text) {
  static const char hexDigits[] = "0123456789abcdef";
  int at = Put(text, 0, Header);
  for (int row = 0; row < CellRows; ++row) {
    at = Put(text, at, dialect == AsmDialect::Acme ? "        !byte " : "        .byte ");
    for (int column = 0; column < CellColumns; ++column) {
      const uint8_t code = codes[row * CellColumns + column];
      text[at++] = '$';
      text[at++] = static_cast<uint8_t>(hexDigits[code >> 4]);
      text[at++] = static_cast<uint8_t>(hexDigits[code & 0xF]);
      // The fourth byte of each value: a comma, or the line end after the last.
      text[at++] = column < CellColumns - 1 ? ',' : '\n';
    }
  }
  return at;
}
