#pragma once
#include <string_view>

#include "match/character_sets.h"

// The option that chooses the C64's character set, and the set its value
// names: upper (the upper-case/graphics set) or lower (lower and upper
// case). Any other value ends the run with the rejection line.
inline constexpr std::string_view CharsetOptionName = "--charset";
CharacterSet ReadCharsetValue(std::string_view value);
