// Two maps the runtime keeps: Windows system error codes to the program's I/O
// error numbers, and UTF-8 names to code page 1252, whole or not at all.
#include <gtest/gtest.h>

#include <string>

#include "runtime/arguments_platform.h"
#include "runtime/code_page_1252.h"
#include "runtime/system_error_numbers.h"

namespace {

TEST(RuntimeMaps, SystemErrorCodes) {
  // Device errors 19 to 31 move up by 131; conflicts, a full disk and a long
  // name are renumbered; everything else, their neighbours too, is kept.
  const struct {
    uint32_t code, number;
  } moved[] = {
      {19, 150},
      {25, 156},
      {31, 162},
      {32, 5},
      {112, 101},
      {145, 5},
      {183, 5},
      {206, 3},
  };
  const uint32_t kept[] = {0,   2,   5,   18,  33,  111, 113,  123,
                           144, 146, 182, 184, 205, 207, 1392};
  for (const auto& [code, number] : moved) EXPECT_EQ(IoErrorNumberForSystemError(code), number);
  for (const uint32_t code : kept) EXPECT_EQ(IoErrorNumberForSystemError(code), code);
}

// Converted, the text keeps the first 255 characters and the length counts
// all. Refused, both are left as they were.
TEST(RuntimeMaps, Utf8ToCodePage1252) {
  std::string long300;
  for (int i = 0; i < 300; ++i) long300 += "\u00E4";
  const struct {
    std::string utf8, text;
    size_t length;
  } converted[] = {
      {"my pic \u00E4.bmp", "my pic \xE4.bmp", 12},
      {"\u20AC\u201A\u0178\u00A0\u00FF\x01\x7F", "\x80\x82\x9F\xA0\xFF\x01\x7F", 7},
      {long300, std::string(255, '\xE4'), 300},
  };
  // 0x81 is undefined in 1252; not in 1252; four bytes; a lone Latin-1
  // byte; cut short; a lead byte for a continuation; two overlong forms; a
  // surrogate; beyond U+10FFFF.
  const std::string refused[] = {"\u0081",       "\u65E5.bmp",   "\U0001F600", "\xE4.bmp",
                                 "\xC3",         "\xC3\xC3",     "\xC0\xAF",   "\xE0\x80\xAF",
                                 "\xED\xA0\x80", "\xF4\x90\x80\x80"};
  for (const auto& c : converted) {
    ShownName shown{MakeText("kept"), 99};
    EXPECT_TRUE(Utf8ToCodePage1252(c.utf8, shown.text, shown.length)) << c.utf8;
    EXPECT_EQ(TextView(shown.text), c.text);
    EXPECT_EQ(shown.length, c.length);
  }
  for (const std::string& utf8 : refused) {
    ShownName shown{MakeText("kept"), 99};
    EXPECT_FALSE(Utf8ToCodePage1252(utf8, shown.text, shown.length)) << utf8;
    EXPECT_EQ(TextView(shown.text), "kept");
    EXPECT_EQ(shown.length, 99u);
  }
}

}  // namespace
