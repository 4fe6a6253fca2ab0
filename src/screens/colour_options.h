#pragma once
#include "screens/c64_colours.h"
#include "screens/number_option.h"

// The options that choose C64 colours, by colour number.
inline constexpr std::string_view TakesColourNumber = " takes a colour number from 0 to 15, not ";
inline constexpr NumberOption InkOption = {"--ink", 0, C64ColourCount - 1, TakesColourNumber};
inline constexpr NumberOption BackgroundOption = {"--background", 0, C64ColourCount - 1,
                                                  TakesColourNumber};
inline constexpr NumberOption BorderOption = {"--border", 0, C64ColourCount - 1,
                                              TakesColourNumber};

// The option that names a colour file, and the end of the line that turns
// --ink down beside it: the file gives every cell's ink, and an ink besides
// it would be dropped without a word.
inline constexpr std::string_view ColoursOptionName = "--colours";
inline constexpr std::string_view InkBesideColours =
    " does not go with --colours: the colour file gives every cell's ink.";
