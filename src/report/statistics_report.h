#pragma once
#include <cstdint>

#include "match/screen_layout.h"

// Prints the samebits overview, the perfect-match and percentage line and the
// map of cells below samebitLimit, from sameBitsGrid, into the console.
// Columns of the overview are placed by cursor moves; where the window is too
// narrow for a move, the text simply follows on.
void PrintStatistics(const int16_t (&sameBitsGrid)[CellRows][CellColumns], int16_t samebitLimit);
