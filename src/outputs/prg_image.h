#pragma once
#include <cstdint>

#include "match/character_sets.h"
#include "match/screen_layout.h"
#include "screens/colour_file.h"

// The front of every program file: the load address $0801, a BASIC line
// "10 SYS2061" and the routine that shows the screen, assembled from
// show_screen.asm beside this file: one form that fills colour memory with
// one ink, one that copies a colour for every cell.
inline constexpr int ShowScreenRoutineSize = 153;
extern const uint8_t ShowScreenRoutine[ShowScreenRoutineSize];
inline constexpr int ShowColoursRoutineSize = 162;
extern const uint8_t ShowColoursRoutine[ShowColoursRoutineSize];

// One ink: the routine, then ink, background and border, then the screen
// codes. A colour for every cell: the routine, then background and border,
// the screen codes and the cells' colours.
inline constexpr int OneInkPrgSize = ShowScreenRoutineSize + 3 + CellCount;
inline constexpr int CellColoursPrgSize = ShowColoursRoutineSize + 2 + 2 * CellCount;
inline constexpr int PrgImageCapacity = CellColoursPrgSize;

// Where both routines load the value they set the video chip's memory
// register to, screen memory and character set: the operand of one
// "lda #". show_screen.asm gives it for either set.
inline constexpr int PrgVicMemoryAt = 34;

// Fills image (PrgImageCapacity bytes) with the program that shows codes
// (CellCount screen codes) in the given colours and character set, and
// returns its size: the shorter form where every cell has the same ink.
int BuildPrgImage(const uint8_t* codes, const ColourScreen& colours, uint8_t* image,
                  CharacterSet set = CharacterSet::Upper);
