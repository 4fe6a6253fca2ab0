#include "outputs/asm_text.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view Header = "; 1000 screen codes, 40 x 25, row by row\nscreen:\n";
static_assert(Header.size() == AsmHeaderSize);
constexpr std::string_view ColoursHeader =
    "; 1000 colours, 40 x 25, row by row, as colour memory holds them\ncolours:\n";
static_assert(ColoursHeader.size() == AsmColoursHeaderSize);
constexpr std::string_view BorderLines = "; the border and background colours\nborder:\n";
constexpr std::string_view BackgroundLabel = "background:\n";
// Each colour line: the directive, one value and LF.
static_assert(BorderLines.size() + BackgroundLabel.size() + 2 * (14 + 3 + 1) ==
              AsmColoursTailSize);
constexpr std::string_view CharsetLines =
    "; $d018, screen at $0400 in the lower-case set\nvic_memory:\n";
static_assert(CharsetLines.size() + 14 + 3 + 1 <= AsmCharsetTailSize);

int Put(uint8_t* text, int at, std::string_view piece) {
  std::memcpy(text + at, piece.data(), piece.size());
  return at + static_cast<int>(piece.size());
}

// Writes count values as one data line: "$hh" each, commas between, LF.
int PutLine(uint8_t* text, int at, const uint8_t* values, int count, AsmDialect dialect) {
  static const char hexDigits[] = "0123456789abcdef";
  at = Put(text, at, dialect == AsmDialect::Acme ? "        !byte " : "        .byte ");
  for (int i = 0; i < count; ++i) {
    text[at++] = '$';
    text[at++] = static_cast<uint8_t>(hexDigits[values[i] >> 4]);
    text[at++] = static_cast<uint8_t>(hexDigits[values[i] & 0xF]);
    // The fourth byte of each value: a comma, or the line end after the last.
    text[at++] = i < count - 1 ? ',' : '\n';
  }
  return at;
}

int PutTable(uint8_t* text, int at, const uint8_t* values, AsmDialect dialect) {
  for (int row = 0; row < CellRows; ++row)
    at = PutLine(text, at, values + row * CellColumns, CellColumns, dialect);
  return at;
}

}  // namespace

int BuildAsmText(const uint8_t* codes, const ColourScreen* colours, AsmDialect dialect,
                 uint8_t* text, CharacterSet set) {
  int at = Put(text, 0, Header);
  at = PutTable(text, at, codes, dialect);
  if (colours != nullptr) {
    at = Put(text, at, ColoursHeader);
    at = PutTable(text, at, colours->inks, dialect);
    at = Put(text, at, BorderLines);
    at = PutLine(text, at, &colours->border, 1, dialect);
    at = Put(text, at, BackgroundLabel);
    at = PutLine(text, at, &colours->background, 1, dialect);
  }
  if (set == CharacterSet::Upper) return at;
  const uint8_t vicMemory = VicMemoryOf(set);
  at = Put(text, at, CharsetLines);
  return PutLine(text, at, &vicMemory, 1, dialect);
}
