// The statistics report drawn into the in-memory console: the worked example
// on wide, narrow and tall windows, and the rounding of the percentage.
#include "report/statistics_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "memory_console.h"

namespace {

int16_t SameBitsGrid[CellRows][CellColumns];
using Lines = std::vector<std::string>;

void PrintReport(int32_t columns, int32_t rows, int16_t limit, int32_t startRow = 0) {
  StartMemoryConsole(MemoryConsoleSetup{columns, rows, 0, 0, columns - 1, rows - 1, 0, startRow});
  PrintStatistics(SameBitsGrid, limit);
}

// 312 perfect cells, the others at 34 (3), 38 (10), 42 (25), 46 (47), 50
// (88), 54 (150), 58 (201) and 62 (164). Rows 0 and 1 are perfect but for
// cells 10 to 13 of row 0 at 50 and 9 to 14 of row 1 at 54; from row 2 on
// the 313 cells below the limit 58 come first.
TEST(StatisticsReport, WorkedExampleOnEveryWindow) {
  const struct {
    int16_t sameBits;
    int count;
  } runs[] = {
      {64, 10},
      {50, 4},
      {64, 35},
      {54, 6},
      {64, 25},
      {34, 3},
      {38, 10},
      {42, 25},
      {46, 47},
      {50, 84},
      {54, 144},
      {58, 201},
      {62, 164},
      {64, 242},
  };
  int index = 0;
  for (const auto& [sameBits, count] : runs)
    for (int i = 0; i < count; ++i, ++index) SameBitsGrid[index / 40][index % 40] = sameBits;
  const std::string tens = "  0000000000111111111122222222223333333333";
  const std::string units = "  0123456789012345678901234567890123456789";
  Lines wide = {
      "---------samebits overview-(0-63)-----------",
      " samebits:  0-3   4-7   8-11  12-15 16-19 20-23 24-27 28-31 32-35 36-39 40-43 44-47"
      " 48-51 52-55 56-59 60-63",
      "    count:    0     0     0     0     0     0     0     0     3    10    25    47"
      "    88   150   201   164",
      "312 perfect matches. -*- 91% same bits (57988 of 64000)",
      "",
      "-------big differences (samebits<58)--------",
      tens,
      units,
      " 0..........****.......................... 0",
      " 1.........******......................... 1",
  };
  for (int row = 2; row < CellRows; ++row) {
    const std::string label = std::string(row < 10 ? 1 : 0, ' ') + std::to_string(row);
    const int marked = row < 9 ? 40 : row == 9 ? 33 : 0;
    wide.push_back(label + std::string(marked, '*') + std::string(40 - marked, '.') + label);
  }
  wide.insert(wide.end(), {tens, units, ""});
  // At 108 columns the last range fills the row: the cursor wraps before the
  // line ends, which leaves an empty row. At 80, moves to column 85 and on
  // are ignored: the pieces close up, and both lines wrap at column 80.
  Lines at108 = wide, at80 = wide;
  at108.insert(at108.begin() + 2, "");
  at80.erase(at80.begin() + 1, at80.begin() + 3);
  at80.insert(at80.begin() + 1, {wide[1].substr(0, 80),
                                 wide[1].substr(80, 3) + " 48-51 52-55 56-59 60-63",
                                 wide[2].substr(0, 80), "7  88 150 201 164"});
  const struct {
    int32_t columns, rows, startRow;
    const Lines* screen;
  } windows[] = {
      {109, 40, 0, &wide},
      {108, 40, 0, &at108},
      {80, 40, 0, &at80},
      {120, 300, 258, &wide},
  };
  for (const auto& [columns, rows, startRow, screen] : windows) {
    SCOPED_TRACE(testing::Message() << columns << " x " << rows);
    PrintReport(columns, rows, 58, startRow);
    // Every line end on the bottom row scrolls the window once.
    const int32_t count = static_cast<int32_t>(screen->size());
    const int32_t scrolls = std::max(0, startRow + count - rows + 1);
    for (int32_t r = 0; r < rows; ++r) {
      const int32_t line = r + scrolls - startRow;
      const std::string shown = line >= 0 && line < count ? (*screen)[line] : "";
      EXPECT_EQ(MemoryConsoleWindowRow(r), shown) << "row " << r;
    }
    EXPECT_EQ(MemoryConsoleScrollCount(), scrolls);
    EXPECT_EQ(MemoryConsoleCursorY(), startRow + count - scrolls);
  }
}

// Grids that add up to a total: the first total mod 1000 cells one above the
// rest. Halves round to even; 34880 gives just above 54.5, 36800 just below
// 57.5. A count of 1000 is written whole; the next keeps its own column.
// The limit 64 marks every cell but the perfect ones.
TEST(StatisticsReport, Percentages) {
  const struct {
    int total, percent;
  } grids[] = {
      {320, 0},
      {960, 2},
      {1600, 2},
      {2880, 4},
      {34880, 55},
      {36800, 57},
      {63000, 98},
      {64000, 100},
      {50000, 78},
  };
  for (const auto& [total, percent] : grids) {
    for (int index = 0; index < CellCount; ++index)
      SameBitsGrid[index / 40][index % 40] =
          static_cast<int16_t>(total / CellCount + (index < total % CellCount));
    PrintReport(120, 40, 64);
    const std::string perfect = total == 64000 ? "1000" : "0";
    EXPECT_EQ(MemoryConsoleWindowRow(3), perfect + " perfect matches. -*- " +
                                             std::to_string(percent) + "% same bits (" +
                                             std::to_string(total) + " of 64000)");
    EXPECT_EQ(MemoryConsoleWindowRow(8), " 0" + std::string(40, total == 64000 ? '.' : '*') + " 0");
  }
  EXPECT_EQ(MemoryConsoleWindowRow(2).substr(79), " 0   1000    0     0     0");
  for (auto& row : SameBitsGrid) std::fill(std::begin(row), std::end(row), int16_t{0});
  PrintReport(120, 40, 64);  // cells with no pixel alike still count in the first range
  EXPECT_EQ(MemoryConsoleWindowRow(2).substr(0, 18), "    count:  1000  ");
  PrintReport(120, 40, -5);  // a negative limit marks nothing
  EXPECT_EQ(MemoryConsoleWindowRow(5), "-------big differences (samebits<-5)--------");
  EXPECT_EQ(MemoryConsoleWindowRow(8), " 0" + std::string(40, '.') + " 0");
}

}  // namespace
