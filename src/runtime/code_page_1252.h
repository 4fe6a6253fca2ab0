#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/short_text.h"

// The program's texts are 8-bit characters of the Windows ANSI code page
// 1252: its upper half is Latin-1 but for 0x80 to 0x9F, where 27 bytes are
// typographic characters and 5 are undefined.

// The Unicode character of a byte; U+FFFD for the five undefined bytes.
uint16_t CodePointOf1252(uint8_t character);

// Converts UTF-8 text to code page 1252 when it is well-formed and every one
// of its characters exists in 1252; otherwise returns false and leaves both
// results alone. text keeps the first 255 characters, length counts all.
bool Utf8ToCodePage1252(std::string_view utf8, ShortText& text, size_t& length);
