#pragma once
#include <cstdint>

// The screen that matching fills: 25 rows of 40 cells, row-major, one screen
// code a cell (byte 40 x row + column), and beside it the samebits of every
// cell's chosen glyph.
inline constexpr int CellRows = 25;
inline constexpr int CellColumns = 40;
inline constexpr int CellCount = CellRows * CellColumns;
