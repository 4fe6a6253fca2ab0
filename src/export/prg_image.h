#pragma once
#include <cstdint>

#include "match/screen_layout.h"

// C64 colour numbers, 0 to 15, of the picture a program shows.
struct ScreenColours {
  uint8_t ink;
  uint8_t background;
  uint8_t border;
};

// The front of every program file: the load address $0801, a BASIC line
// "10 SYS2061" and the routine that shows the screen, assembled from
// show_screen.asm beside this file.
inline constexpr int ShowScreenRoutineSize = 153;
extern const uint8_t ShowScreenRoutine[ShowScreenRoutineSize];

// The routine, then ink, background and border, then the screen codes.
inline constexpr int PrgImageSize = ShowScreenRoutineSize + 3 + CellCount;

// Fills image (PrgImageSize bytes) with the program that shows codes
// (CellCount screen codes) in the given colours.
void BuildPrgImage(const uint8_t* codes, const ScreenColours& colours, uint8_t* image);
