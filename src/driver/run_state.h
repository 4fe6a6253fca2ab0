#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"
#include "match/screen_layout.h"

// Everything a conversion run keeps from one stage for the next, in one
// place. Each has one writer, which runs once: the options from the command
// line, PixelData from the image, ScreenCodes and SameBitsGrid from matching.
// Later stages only read them, and get them as parameters.
extern bool dirartMode;       // only glyphs 0 to 127 take part in matching
extern int16_t samebitLimit;  // cells below it are marked in the report's map
extern uint8_t PixelData[PixelDataSize];
extern uint8_t ScreenCodes[CellCount];                // also the output file's content
extern int16_t SameBitsGrid[CellRows][CellColumns];   // samebits per cell

// Puts the run state, and the header tables the image is read into, back as
// they are at program start. Anything that runs the program more than once in
// one process calls it before each run.
void ResetRunState();
