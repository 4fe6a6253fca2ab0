#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/run_options.h"
#include "match/match_results.h"
#include "memory_console.h"
#include "report/statistics_report.h"
#include "report_grids.h"

namespace {

// The report is 36 lines followed by the cursor's row. Drawn from window row
// startRow of a window of windowRows rows, every line end below the bottom
// scrolls the window once; a line drawn at (startRow + i) ends up in window
// row startRow + i - scrolls, or is lost when that is above the window.
struct ScrollCase {
  const char* name;
  int32_t bufferWidth, bufferHeight;
  int32_t left, top, columns, windowRows;
  int32_t startRow;  // cursor row in the window
  int scrolls;
};

TEST(StatisticsReportScrolling, FinalWindowShowsTheLastLines) {
  const std::vector<std::string> lines = WorkedExampleLines();
  const ScrollCase cases[] = {
      {"25 rows from the top", 120, 25, 0, 0, 120, 25, 0, 12},
      {"25 rows from the bottom", 120, 25, 0, 0, 120, 25, 24, 36},
      {"25 rows, halfway", 120, 25, 0, 0, 120, 25, 12, 24},
      // Lines 2 and 3 are drawn on the bottom row after a scroll, so the row
      // query and the moves work on a scrolled window; only line 1 is lost.
      {"36 rows from the bottom", 120, 36, 0, 0, 120, 36, 35, 36},
      {"37 rows, nothing lost", 120, 37, 0, 0, 120, 37, 0, 0},
      // A window inside a larger screen buffer: moves are relative to it, and
      // the rows around it are never written or scrolled into.
      {"25-row window inside a buffer", 140, 60, 6, 10, 120, 25, 3, 15},
  };
  for (const ScrollCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryConsoleSetup setup;
    setup.bufferWidth = c.bufferWidth;
    setup.bufferHeight = c.bufferHeight;
    setup.windowLeft = c.left;
    setup.windowTop = c.top;
    setup.windowRight = c.left + c.columns - 1;
    setup.windowBottom = c.top + c.windowRows - 1;
    setup.cursorX = c.left;
    setup.cursorY = c.top + c.startRow;
    StartMemoryConsole(setup);
    FillWorkedExampleGrid(SameBitsGrid);
    samebitLimit = 56;
    PrintStatistics();

    // Every window row is compared, so lines that scrolled away must be gone,
    // not merely moved.
    EXPECT_EQ(MemoryConsoleScrollCount(), c.scrolls);
    std::vector<std::string> expected(static_cast<size_t>(c.windowRows));
    for (size_t i = 0; i < lines.size(); ++i) {
      int32_t row = c.startRow + static_cast<int32_t>(i) - c.scrolls;
      if (row >= 0) expected[static_cast<size_t>(row)] = lines[i];
    }
    for (int32_t r = 0; r < c.windowRows; ++r)
      EXPECT_EQ(MemoryConsoleWindowRow(r), expected[static_cast<size_t>(r)]) << "window row " << r;
    EXPECT_EQ(MemoryConsoleCursorX(), c.left);
    EXPECT_EQ(MemoryConsoleCursorY(), c.top + c.startRow + 36 - c.scrolls);

    const std::string blank(static_cast<size_t>(c.bufferWidth), ' ');
    for (int32_t y = 0; y < c.bufferHeight; ++y) {
      if (y >= c.top && y < c.top + c.windowRows) continue;
      EXPECT_EQ(MemoryConsoleRow(y), blank) << "buffer row " << y << " outside the window";
    }
  }
}

}  // namespace
