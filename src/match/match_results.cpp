#include "match/match_results.h"

uint8_t ScreenCodes[CellCount];
int16_t SameBitsGrid[CellRows][CellColumns];
