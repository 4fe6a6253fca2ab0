// What a terminal receives for each 8-bit character: code page 1252 as UTF-8,
// and one harmless visible cell for every byte a terminal would act on.
#include <gtest/gtest.h>

#include <string>

#include "console/terminal_text.h"

namespace {

std::string Encode(int byte) {
  char out[4];
  int length = EncodeTerminalCell(static_cast<uint8_t>(byte), out);
  return std::string(out, static_cast<size_t>(length));
}

TEST(TerminalText, CodePage1252BecomesUtf8) {
  const struct {
    int byte;
    const char* utf8;
  } cases[] = {
      {'A', "A"},          {' ', " "},           {'~', "~"},
      {0x80, "\u20AC"},    {0x85, "\u2026"},     {0x9F, "\u0178"},
      {0xA0, "\u00A0"},    {0xE9, "\u00E9"},     {0xFF, "\u00FF"},
      {0x09, "\u2409"},    {0x1B, "\u241B"},     {0x00, "\u2400"},
      {0x7F, "\u2421"},    {0x81, "\uFFFD"},     {0x8D, "\uFFFD"},
      {0x8F, "\uFFFD"},    {0x90, "\uFFFD"},     {0x9D, "\uFFFD"},
      {0xAD, "-"},
  };
  for (const auto& c : cases) EXPECT_EQ(Encode(c.byte), c.utf8) << "byte " << c.byte;
}

TEST(TerminalText, NoByteReachesTheTerminalAsAControl) {
  for (int byte = 0; byte < 256; ++byte) {
    std::string encoded = Encode(byte);
    for (unsigned char c : encoded) {
      EXPECT_FALSE(c < 0x20 || c == 0x7F) << "byte " << byte;
    }
    // C1 controls would arrive as U+0080..U+009F, that is C2 80..C2 9F.
    EXPECT_FALSE(encoded.size() == 2 && static_cast<unsigned char>(encoded[0]) == 0xC2 &&
                 static_cast<unsigned char>(encoded[1]) < 0xA0)
        << "byte " << byte;
  }
}

}  // namespace
