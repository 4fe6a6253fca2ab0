#pragma once
#include <cstdint>

#include "match/character_sets.h"
#include "match/screen_layout.h"

// PETSCII codes the stream uses besides printable characters.
inline constexpr uint8_t PetsciiReturn = 0x0D;
inline constexpr uint8_t PetsciiDelete = 0x14;
inline constexpr uint8_t PetsciiReverseOn = 0x12;
inline constexpr uint8_t PetsciiReverseOff = 0x92;
inline constexpr uint8_t PetsciiCursorLeft = 0x9D;
inline constexpr uint8_t PetsciiInsert = 0x94;
inline constexpr uint8_t PetsciiClearScreen = 0x93;
inline constexpr uint8_t PetsciiUpperCase = 0x8E;
inline constexpr uint8_t PetsciiLowerCase = 0x0E;
inline constexpr uint8_t PetsciiLockCase = 0x08;  // Commodore+Shift no longer switches
inline constexpr uint8_t PetsciiQuote = 0x22;

// The PETSCII code that sets the text colour, by C64 colour number.
inline constexpr uint8_t PetsciiColourCodes[16] = {0x90, 0x05, 0x1C, 0x9F, 0x9C, 0x1E,
                                                   0x1F, 0x9E, 0x81, 0x95, 0x96, 0x97,
                                                   0x98, 0x99, 0x9A, 0x9B};

// The PETSCII code that prints screen code 0 to 127 in the upper-case/graphics
// set: 0-31 as 64-95, 32-63 as themselves, 64-95 as 192-223, 96-127 as
// 160-191. Every one of the 128 has one.
uint8_t PetsciiForScreenCode(uint8_t code);

// Whether a cell's ink can be seen: its character has a pixel of it. The
// characters without one (the blanks 32 and 96, in both sets) show the
// background alone.
bool InkShows(uint8_t code);

// The stream never needs more than this: four bytes in front, and in a
// row at most five bytes a cell (a quote and a delete, the reverse code,
// the colour code, the character) and three more for the last cell and the
// line end.
inline constexpr int PetsciiStreamCapacity = 4 + CellRows * (CellColumns * 5 + 3);

// Writes the stream that prints codes (CellCount screen codes) on a C64,
// each cell in its ink from inks (CellCount C64 colour numbers), and
// returns its length. The stream starts with a colour code, the character
// set (the upper-case code; or the lower-case code and the code that locks
// the set against Commodore+Shift) and a cleared screen, and then prints row after row without ever
// printing into the last column: a row's last character is printed one
// cell to its left and pushed over by an insert. So no row wraps and the
// screen never scrolls, and every row but the last ends with a line end,
// which also ends reverse and quote mode. Trailing blanks of a row (normal
// spaces) are left to the cleared screen. A colour code is sent only where
// the ink of a cell that shows it changes. Where reverse or the ink has to
// change after an odd number of quotes, quote mode is first ended with a
// quote that a delete takes away again.
int BuildPetsciiStream(const uint8_t* codes, const uint8_t* inks, uint8_t* stream,
                       CharacterSet set = CharacterSet::Upper);
