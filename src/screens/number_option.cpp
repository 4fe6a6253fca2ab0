#include "screens/number_option.h"

#include "screens/rejection_line.h"

namespace {

// Four digits never overflow the sum below.
constexpr size_t MaxDigits = 4;

}  // namespace

bool ReadNumberWord(std::string_view word, int32_t lowest, int32_t highest, int32_t& value) {
  if (word.empty() || word.size() > MaxDigits) return false;
  int32_t number = 0;
  for (char digit : word) {
    if (digit < '0' || digit > '9') return false;
    number = number * 10 + (digit - '0');
  }
  if (number < lowest || number > highest) return false;
  value = number;
  return true;
}

int32_t ReadOptionValue(const NumberOption& option, std::string_view value) {
  int32_t number = 0;
  if (!ReadNumberWord(value, option.lowest, option.highest, number)) {
    ErrorText("Error: ");
    ErrorText(option.name);
    ErrorText(option.takes);
    ErrorQuoted(value);
    EndRejectedLine(".");
  }
  return number;
}
