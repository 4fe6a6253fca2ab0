#include "report/match_statistics.h"

#include <gtest/gtest.h>

#include "report_grids.h"

namespace {

Grid grid;

TEST(SamePercent, DividesFirstThenScalesAndRoundsHalvesToEven) {
  struct Case {
    int32_t total;
    int64_t percent;
  };
  const Case cases[] = {
      {0, 0},     {320, 0},     // 0.5 goes down to the even 0
      {960, 2},   {1600, 2},    // 1.5 up to 2, 2.5 down to 2
      {2880, 4},                // 4.5 down to 4
      {34880, 55},              // the quotient times 100 lands just above 54.5
      {36800, 57},              // and here just below 57.5
      {31999, 50}, {57988, 91}, {64000, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.total);
    EXPECT_EQ(SamePercent(c.total), c.percent);
  }
}

TEST(MatchStatistics, WorkedExample) {
  FillWorkedExampleGrid(grid);
  MatchStatistics s = ComputeMatchStatistics(grid);
  const int16_t counts[SameBitsRangeCount] = {0, 0, 0, 0, 0, 0, 0, 0, 3, 10, 25, 47, 88, 150, 201, 164};
  for (int k = 0; k < SameBitsRangeCount; ++k) EXPECT_EQ(s.rangeCounts[k], counts[k]) << "range " << k;
  EXPECT_EQ(s.perfectCount, 312);
  EXPECT_EQ(s.sameBitsTotal, 57988);
  EXPECT_EQ(s.samePercent, 91);
}

// Every cell at one value: the value lands in exactly one range, or counts as
// perfect, or (outside 0 to 64) in neither.
TEST(MatchStatistics, RangeBoundsOfUniformGrids) {
  struct Case {
    int16_t sameBits;
    int range;  // -1: no range
    int16_t perfect;
  };
  const Case cases[] = {
      {0, 0, 0},   {3, 0, 0},   {4, 1, 0},   {31, 7, 0},   {32, 8, 0},
      {59, 14, 0}, {60, 15, 0}, {63, 15, 0}, {64, -1, 1000},
      {-1, -1, 0}, {-4, -1, 0}, {65, -1, 0},  // cannot come from matching; kept out of every range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sameBits);
    FillGrid(grid, c.sameBits);
    MatchStatistics s = ComputeMatchStatistics(grid);
    for (int k = 0; k < SameBitsRangeCount; ++k)
      EXPECT_EQ(s.rangeCounts[k], k == c.range ? 1000 : 0) << "range " << k;
    EXPECT_EQ(s.perfectCount, c.perfect);
    EXPECT_EQ(s.sameBitsTotal, 1000 * c.sameBits);
  }
}

}  // namespace
