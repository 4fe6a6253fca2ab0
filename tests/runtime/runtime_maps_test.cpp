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
  const uint32_t cases[][2] = {
      {19, 150},  {25, 156},  {31, 162},  {32, 5},    {112, 101}, {145, 5},   {183, 5},   {206, 3},
      {0, 0},     {2, 2},     {5, 5},     {18, 18},   {33, 33},   {111, 111}, {113, 113}, {123, 123},
      {144, 144}, {146, 146}, {182, 182}, {184, 184}, {205, 205}, {207, 207}, {1392, 1392}};
  for (const auto& [code, number] : cases) EXPECT_EQ(IoErrorNumberForSystemError(code), number) << code;
}

// Converted, the text keeps the first 255 characters and the length counts
// all; else both are left as they were: 0x81 is undefined in 1252; not in
// 1252; four bytes; a lone Latin-1 byte; cut short; a lead byte for a
// continuation; two overlong forms; a surrogate; beyond U+10FFFF.
TEST(RuntimeMaps, Utf8ToCodePage1252) {
  std::string long300;
  for (int i = 0; i < 300; ++i) long300 += "\u00E4";
  const std::tuple<std::string, std::string, size_t> cases[] = {
      {"my pic \u00E4.bmp", "my pic \xE4.bmp", 12}, {"\u20AC\u201A\u0178\u00A0\u00FF\x01\x7F", "\x80\x82\x9F\xA0\xFF\x01\x7F", 7},
      {long300, std::string(255, '\xE4'), 300}, {"\u0081", "kept", 99}, {"\u65E5.bmp", "kept", 99}, {"\U0001F600", "kept", 99},
      {"\xE4.bmp", "kept", 99}, {"\xC3", "kept", 99}, {"\xC3\xC3", "kept", 99}, {"\xC0\xAF", "kept", 99}, {"\xE0\x80\xAF", "kept", 99},
      {"\xED\xA0\x80", "kept", 99}, {"\xF4\x90\x80\x80", "kept", 99}};
  for (const auto& [utf8, text, length] : cases) {
    ShownName shown{MakeText("kept"), 99};
    EXPECT_EQ(Utf8ToCodePage1252(utf8, shown.text, shown.length), length != 99) << utf8;
    EXPECT_EQ(std::string(TextView(shown.text)) + " " + std::to_string(shown.length), text + " " + std::to_string(length));
  }
}

}  // namespace
