#pragma once
#include <cstdint>

// Set once from the command line before the conversion starts; only read
// afterwards.
extern bool dirartMode;       // only glyphs 0 to 127 take part in matching
extern int16_t samebitLimit;  // cells below it are marked in the report's map
