#pragma once
#include <cstdint>

#include "match/screen_layout.h"

// How the data lines are written: ".byte" for 64tass, ca65 and most other
// assemblers, "!byte" for ACME. Neither of the two reads the other's.
enum class AsmDialect : uint8_t { DotByte, Acme };

// The text: a comment line, the label "screen:", then 25 lines of 40 byte
// values "$hh" after eight blanks and the data directive; lines end in LF.
// It sets no address, so it can be included anywhere.
inline constexpr int AsmHeaderSize = 49;             // the comment and label lines
inline constexpr int AsmLineSize = 8 + 6 + 40 * 4;   // directive, 40 values, commas, LF
inline constexpr int AsmTextSize = AsmHeaderSize + CellRows * AsmLineSize;

// Writes the text for codes (CellCount screen codes) into text, which
// holds AsmTextSize bytes, and returns its length: always AsmTextSize.
int BuildAsmText(const uint8_t* codes, AsmDialect dialect, uint8_t* text);
