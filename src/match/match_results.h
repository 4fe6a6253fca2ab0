#pragma once
#include <cstdint>

// What matching produces: the chosen glyph of every cell (also the whole
// content of the output file) and how many pixels it shares with the cell.
inline constexpr int CellRows = 25;
inline constexpr int CellColumns = 40;
inline constexpr int CellCount = CellRows * CellColumns;

extern uint8_t ScreenCodes[CellCount];                // byte 40 x row + column
extern int16_t SameBitsGrid[CellRows][CellColumns];   // samebits per cell
