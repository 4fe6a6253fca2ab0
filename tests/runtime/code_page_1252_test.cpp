// UTF-8 names to the program's code page 1252: whole or not at all.
#include <gtest/gtest.h>

#include <string>

#include "runtime/code_page_1252.h"

namespace {

TEST(CodePage1252, Utf8ConvertsOnlyWhenEveryCharacterExists) {
  const struct {
    const char* utf8;
    const char* converted;  // nullptr: not converted
  } cases[] = {
      {"plain.bmp", "plain.bmp"},
      {"my pic \u00E4.bmp", "my pic \xE4.bmp"},
      {"\u20AC\u201A\u0178\u00A0\u00FF", "\x80\x82\x9F\xA0\xFF"},
      {"\x01\x7F", "\x01\x7F"},
      {"\u0081", nullptr},        // a C1 control: 0x81 is undefined in 1252
      {"\u65E5.bmp", nullptr},    // not in 1252
      {"\U0001F600", nullptr},    // four bytes, beyond 1252
      {"\xE4.bmp", nullptr},      // a lone Latin-1 byte is no UTF-8
      {"\xC3", nullptr},          // cut short
      {"\xC3\xC3", nullptr},      // a lead byte where a continuation belongs
      {"\xC0\xAF", nullptr},      // overlong
      {"\xE0\x80\xAF", nullptr},  // overlong
      {"\xED\xA0\x80", nullptr},  // a surrogate
      {"\xF4\x90\x80\x80", nullptr},  // beyond U+10FFFF
  };
  for (const auto& c : cases) {
    ShortText text = MakeText("left alone");
    size_t length = 99;
    const bool converted = Utf8ToCodePage1252(c.utf8, text, length);
    ASSERT_EQ(converted, c.converted != nullptr) << c.utf8;
    const std::string expected = c.converted != nullptr ? c.converted : "left alone";
    EXPECT_EQ(std::string(TextView(text)), expected) << c.utf8;
    EXPECT_EQ(length, c.converted != nullptr ? expected.size() : 99u) << c.utf8;
  }
}

TEST(CodePage1252, TextKeepsTheFirst255CharactersAndCountsAll) {
  std::string utf8;
  for (int i = 0; i < 300; ++i) utf8 += "\u00E4";
  ShortText text{};
  size_t length = 0;
  ASSERT_TRUE(Utf8ToCodePage1252(utf8, text, length));
  EXPECT_EQ(std::string(TextView(text)), std::string(255, '\xE4'));
  EXPECT_EQ(length, 300u);
}

}  // namespace
