#include "runtime/code_page_1252.h"

namespace {

constexpr uint16_t Undefined = 0xFFFD;  // the replacement character

// Bytes 0x80 to 0x9F; every other byte is the Latin-1 character of its value.
constexpr uint16_t upperControls[32] = {
    0x20AC, Undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030,    0x0160, 0x2039, 0x0152, Undefined, 0x017D, Undefined,
    Undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122,    0x0161, 0x203A, 0x0153, Undefined, 0x017E, 0x0178,
};

bool ByteFor(uint32_t codePoint, uint8_t& byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    byte = static_cast<uint8_t>(codePoint);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (upperControls[i] != Undefined && upperControls[i] == codePoint) {
      byte = static_cast<uint8_t>(0x80 + i);
      return true;
    }
  }
  return false;
}

// Decodes the character at utf8[at]; false on anything but the shortest
// form of a Unicode scalar value.
bool DecodeUtf8(std::string_view utf8, size_t& at, uint32_t& codePoint) {
  const uint8_t lead = static_cast<uint8_t>(utf8[at++]);
  int following = 0;
  uint32_t smallest = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
    smallest = 0x80;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    smallest = 0x800;
    codePoint = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    smallest = 0x10000;
    codePoint = lead & 0x07u;
  } else {
    return false;
  }
  for (int i = 0; i < following; ++i) {
    if (at >= utf8.size()) return false;
    const uint8_t next = static_cast<uint8_t>(utf8[at++]);
    if ((next & 0xC0) != 0x80) return false;
    codePoint = codePoint << 6 | (next & 0x3Fu);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  return codePoint >= smallest && codePoint <= 0x10FFFF && !surrogate;
}

}  // namespace

uint16_t CodePointOf1252(uint8_t character) {
  if (character >= 0x80 && character < 0xA0) return upperControls[character - 0x80];
  return character;
}

bool Utf8ToCodePage1252(std::string_view utf8, ShortText& text, size_t& length) {
  ShortText converted{};
  size_t count = 0;
  for (size_t at = 0; at < utf8.size();) {
    uint32_t codePoint = 0;
    uint8_t byte = 0;
    if (!DecodeUtf8(utf8, at, codePoint) || !ByteFor(codePoint, byte)) return false;
    if (converted.length < MaxTextLength) converted.characters[converted.length++] = static_cast<char>(byte);
    ++count;
  }
  text = converted;
  length = count;
  return true;
}
