#include "report/match_statistics.h"

#include <cmath>

int64_t SamePercent(int32_t sameBitsTotal) {
  double share = static_cast<double>(sameBitsTotal) / static_cast<double>(ImageSameBitsMaximum);
  // nearbyint keeps the default rounding mode, which the program never changes.
  return static_cast<int64_t>(std::nearbyint(share * 100.0));
}

MatchStatistics ComputeMatchStatistics(const int16_t (&grid)[CellRows][CellColumns]) {
  MatchStatistics statistics{};
  for (int16_t row = 0; row < CellRows; ++row) {
    for (int16_t column = 0; column < CellColumns; ++column) {
      int16_t sameBits = grid[row][column];
      statistics.sameBitsTotal += sameBits;
      if (sameBits == PerfectSameBits) ++statistics.perfectCount;
      // Tested against both bounds: a division alone would put small
      // negative values into the first range.
      if (sameBits >= 0 && sameBits < SameBitsRangeCount * SameBitsRangeSize)
        ++statistics.rangeCounts[sameBits / SameBitsRangeSize];
    }
  }
  statistics.samePercent = SamePercent(statistics.sameBitsTotal);
  return statistics;
}
