#pragma once
#include <cstdint>

#include "match/screen_layout.h"

// How well the image could be matched, worked out from the samebits of every
// cell before the report prints any of it.
inline constexpr int SameBitsRangeCount = 16;  // ranges 0-3, 4-7, ..., 60-63
inline constexpr int SameBitsRangeSize = 4;
inline constexpr int16_t PerfectSameBits = 64;
inline constexpr int32_t ImageSameBitsMaximum = CellCount * PerfectSameBits;  // 64000

struct MatchStatistics {
  int32_t sameBitsTotal;                     // sum over all cells
  int16_t rangeCounts[SameBitsRangeCount];   // cells with 4k <= samebits < 4k + 4
  int16_t perfectCount;                      // cells with all 64 pixels alike
  int64_t samePercent;                       // share of alike pixels, 0 to 100
};

MatchStatistics ComputeMatchStatistics(const int16_t (&grid)[CellRows][CellColumns]);

// The total as a whole percentage of 64000: divided first, then scaled, both
// in double precision, then rounded to nearest with ties to even.
int64_t SamePercent(int32_t sameBitsTotal);
