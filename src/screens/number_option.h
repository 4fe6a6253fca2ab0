#pragma once
#include <cstdint>
#include <string_view>

// Reads a whole option value as a decimal number from lowest to highest.
// Anything else (a sign, other characters, more than four digits, nothing)
// is turned down with false, so that a mistyped number never passes as 0.
bool ReadNumberWord(std::string_view word, int32_t lowest, int32_t highest, int32_t& value);

// An option that takes a number: its name, the numbers it takes, and how
// the rejection line says so, between the name and the quoted value.
struct NumberOption {
  std::string_view name;
  int32_t lowest;
  int32_t highest;
  std::string_view takes;
};

// The number value gives for option; any other value ends the run with the
// rejection line: Error: NAME takes ..., not "VALUE".
int32_t ReadOptionValue(const NumberOption& option, std::string_view value);
