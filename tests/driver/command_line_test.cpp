// Cutting a command line into words, reading the limit, and the arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/samebit_limit.h"
#include "runtime/command_line.h"

namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<char> storage(line.size() + 1);
  std::string_view words[32];
  int count = SplitCommandLine(line, storage.data(), words, 32);
  return std::vector<std::string>(words, words + count);
}

using Words = std::vector<std::string>;

TEST(SplitCommandLine, Words) {
  const struct {
    const char* line;
    Words words;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"prog a b", {"prog", "a", "b"}},
      {"  prog\ta\x01\x1f" "b  ", {"prog", "a", "b"}},
      {"prog \"two words\" x", {"prog", "two words", "x"}},
      {"prog \"\" x", {"prog", "", "x"}},
      {"prog \"\"", {"prog", ""}},
      {"prog a\"\"b", {"prog", "ab"}},
      {"prog \"say \"\"hi\"\" now\"", {"prog", "say hi now"}},
      {"prog ab\"c d\"ef g", {"prog", "abc def", "g"}},
      {"prog \"unclosed quote", {"prog", "unclosed quote"}},
      {"prog \"tab\tinside\"", {"prog", "tab\tinside"}},
      {"prog \"dirart \"", {"prog", "dirart "}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.line), c.words) << c.line;
}

TEST(SplitCommandLine, StopsStoringAtCapacityButCountsNothingBeyond) {
  std::string line = "a b c d e";
  char storage[16];
  std::string_view words[3];
  EXPECT_EQ(SplitCommandLine(line, storage, words, 3), 3);
  EXPECT_EQ(words[2], "c");
}

struct LimitCase {
  const char* text;
  int64_t parsed;
  int16_t limit;
};

TEST(ParseInteger, LimitTexts) {
  const LimitCase cases[] = {
      {"56", 56, 56},
      {"64", 64, 64},
      {"65", 65, 64},
      {"100", 100, 64},
      {"0", 0, 0},
      {"-5", -5, -5},
      {"+56", 56, 56},
      {"012", 12, 12},
      {" 56", 56, 56},
      {"\t56", 56, 56},
      {"56 ", 0, 0},
      {"abc", 0, 0},
      {"12abc", 0, 0},
      {"", 0, 0},
      {"$20", 32, 32},
      {"x20", 32, 32},
      {"X20", 32, 32},
      {"0x20", 32, 32},
      {"0X20", 32, 32},
      {"%1000000", 64, 64},
      {"&100", 64, 64},
      {"40000", 40000, -25536},
      {"65536", 65536, 0},
      {"70000", 70000, 64},
      {"-40000", -40000, 64},
      {"99999999999999999999", 0, 0},
      {"9223372036854775807", INT64_MAX, -1},
      {"9223372036854775808", 0, 0},
      {"-9223372036854775808", INT64_MIN, 0},
      {"-9223372036854775809", 0, 0},
      {"$FFFFFFFFFFFFFFFF", -1, -1},
      {"$10000000000000000", 0, 0},
      {"-$10", -16, -16},
      {"-", 0, 0},
      {"+", 0, 0},
      {"$", 0, 0},
      {"0x", 0, 0},
      {"- 5", 0, 0},
      {"$ 5", 0, 0},
      {"%102", 0, 0},
      {"&8", 0, 0},
      {"1F", 0, 0},
      {"$1f", 31, 31},
      {"--5", 0, 0},
      {"5-", 0, 0},
  };
  for (const LimitCase& c : cases) {
    EXPECT_EQ(ParseInteger(c.text), c.parsed) << '"' << c.text << '"';
    EXPECT_EQ(LimitFromInteger(ParseInteger(c.text)), c.limit) << '"' << c.text << '"';
  }
}

TEST(Arguments, AccessCutsTextsAndAnsweresEmptyPastTheCount) {
  std::string longWord(300, 'q');
  std::string_view words[] = {"in.bmp", longWord, "dirart"};
  SetArguments("/path/to/cellglyph", words, 3);
  EXPECT_EQ(ArgumentCount(), 3);
  EXPECT_EQ(TextView(ArgumentText(0)), "/path/to/cellglyph");
  EXPECT_EQ(TextView(ArgumentText(1)), "in.bmp");
  EXPECT_EQ(TextView(ArgumentText(2)), std::string(255, 'q'));
  EXPECT_EQ(ArgumentWhole(2).size(), 300u);
  EXPECT_EQ(TextView(ArgumentText(4)), "");
  EXPECT_EQ(TextView(ArgumentText(-1)), "");
}

}  // namespace
