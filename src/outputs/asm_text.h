#pragma once
#include <cstdint>

#include "match/character_sets.h"
#include "match/screen_layout.h"
#include "screens/colour_file.h"

// How the data lines are written: ".byte" for 64tass, ca65 and most other
// assemblers, "!byte" for ACME. Neither of the two reads the other's.
enum class AsmDialect : uint8_t { DotByte, Acme };

// The text: a comment line, the label "screen:", then 25 lines of 40 byte
// values "$hh" after eight blanks and the data directive; lines end in LF.
// With colours there follow, written the same way, a comment line, the
// label "colours:" and 25 lines of the cells' colours, then a comment line,
// "border:" and a line of the border colour, "background:" and a line of
// the background colour. It sets no address, so it can be included
// anywhere. In the lower-case set there follow a comment line, the label
// "vic_memory:" and a line with the value of the video chip's memory
// register ($D018) that shows the screen at $0400 in that set.
inline constexpr int AsmHeaderSize = 49;             // the comment and label lines
inline constexpr int AsmLineSize = 8 + 6 + 40 * 4;   // directive, 40 values, commas, LF
inline constexpr int AsmTextSize = AsmHeaderSize + CellRows * AsmLineSize;
inline constexpr int AsmColoursHeaderSize = 74;      // the comment and label lines
inline constexpr int AsmColoursTailSize = 92;        // border and background
inline constexpr int AsmCharsetTailSize = 94;      // the register's lines
inline constexpr int AsmTextCapacity = AsmTextSize + AsmColoursHeaderSize +
                                       CellRows * AsmLineSize + AsmColoursTailSize +
                                       AsmCharsetTailSize;

// Writes the text for codes (CellCount screen codes), and for colours
// unless it is null, into text, which holds AsmTextCapacity bytes, and
// returns its length.
int BuildAsmText(const uint8_t* codes, const ColourScreen* colours, AsmDialect dialect,
                 uint8_t* text, CharacterSet set = CharacterSet::Upper);
