#pragma once

// Prints the samebits overview, the perfect-match and percentage line and the
// map of cells below samebitLimit, from SameBitsGrid, into the console.
// Columns of the overview are placed by cursor moves; where the window is too
// narrow for a move, the text simply follows on.
void PrintStatistics();
