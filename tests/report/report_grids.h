#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "match/match_results.h"

using Grid = int16_t[CellRows][CellColumns];

void FillGrid(Grid& grid, int16_t sameBits);

// Cells whose samebits add up to total: the first total mod 1000 cells one
// above the rest.
void FillGridWithTotal(Grid& grid, int32_t total);

// The report's worked example: limit 56, 312 perfect cells, the other cells
// at 34 (3), 38 (10), 42 (25), 46 (47), 50 (88), 54 (150), 58 (201) and
// 62 (164); cells 10 to 13 of row 0 at 50 and 9 to 14 of row 1 at 54, all
// other cells of those rows perfect. The remaining cells go row by row from
// row 2: the 313 below the limit first, so rows 2 to 8 and the first 33
// cells of row 9 are marked.
void FillWorkedExampleGrid(Grid& grid);

// The 36 lines that example prints on a window wide enough for every move,
// trailing blanks cut.
std::vector<std::string> WorkedExampleLines();
