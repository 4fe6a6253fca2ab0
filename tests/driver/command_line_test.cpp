// Cutting a command line into words, and reading the samebit limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/samebit_limit.h"
#include "runtime/command_line.h"

namespace {

using Words = std::vector<std::string>;

// Blanks and the characters below them separate words, double quotes group
// them; "" inside a word is dropped, a lone "" is an empty word. Words past
// the capacity, here 4, are not stored.
TEST(CommandLine, SplitCommandLine) {
  const struct {
    const char* line;
    Words words;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"  prog\ta\x01\x1f" "b  ", {"prog", "a", "b"}},
      {"p \"\"", {"p", ""}},
      {"p a\"\"b", {"p", "ab"}},
      {"p \"two words\" \"\" x", {"p", "two words", "", "x"}},
      {"a b c d e f", {"a", "b", "c", "d"}},
      {"p \"say \"\"hi\"\" now\"", {"p", "say hi now"}},
      {"p ab\"c d\"ef g", {"p", "abc def", "g"}},
      {"p \"unclosed\tquote", {"p", "unclosed\tquote"}},
  };
  for (const auto& [line, words] : cases) {
    std::vector<char> storage(std::string(line).size() + 1);
    std::string_view found[4];
    const int count = SplitCommandLine(line, storage.data(), found, 4);
    EXPECT_EQ(Words(found, found + count), words) << line;
  }
}

// Whole texts only: blanks, a sign and a base prefix first; anything else, or
// a magnitude that does not fit, is 0. The limit is the low 16 bits as a
// signed number, capped at 64.
TEST(CommandLine, ParseIntegerAndTheLimit) {
  const struct {
    const char* text;
    int64_t parsed;
    int16_t limit;
  } cases[] = {
      {"56", 56, 56},
      {"65", 65, 64},
      {"-5", -5, -5},
      {"+56", 56, 56},
      {"012", 12, 12},
      {" \t56", 56, 56},
      {"56 ", 0, 0},
      {"12abc", 0, 0},
      {"", 0, 0},
      {"$1f", 31, 31},
      {"x20", 32, 32},
      {"X20", 32, 32},
      {"0x20", 32, 32},
      {"0X20", 32, 32},
      {"%1000000", 64, 64},
      {"&100", 64, 64},
      {"-$10", -16, -16},
      {"40000", 40000, -25536},
      {"65536", 65536, 0},
      {"70000", 70000, 64},
      {"-40000", -40000, 64},
      {"-", 0, 0},
      {"+", 0, 0},
      {"$", 0, 0},
      {"0x", 0, 0},
      {"- 5", 0, 0},
      {"$ 5", 0, 0},
      {"%102", 0, 0},
      {"&8", 0, 0},
      {"1F", 0, 0},
      {"--5", 0, 0},
      {"5-", 0, 0},
      {"99999999999999999999", 0, 0},
      {"$FFFFFFFFFFFFFFFF", -1, -1},
      {"9223372036854775807", INT64_MAX, -1},
      {"9223372036854775808", 0, 0},
      {"$10000000000000000", 0, 0},
      {"-9223372036854775808", INT64_MIN, 0},
      {"-9223372036854775809", 0, 0},
  };
  for (const auto& [text, parsed, limit] : cases) {
    EXPECT_EQ(ParseInteger(text), parsed) << '"' << text << '"';
    EXPECT_EQ(LimitFromInteger(parsed), limit) << '"' << text << '"';
  }
}

}  // namespace
