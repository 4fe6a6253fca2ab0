// The statistics report drawn into the in-memory console: the worked example
// on wide, narrow and short windows, the counts and percentages, the marks.
#include "report/statistics_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "match/screen_layout.h"
#include "memory_console.h"

namespace {

int16_t SameBitsGrid[CellRows][CellColumns];

using Lines = std::vector<std::string>;

void SetCell(int index, int sameBits) {
  SameBitsGrid[index / CellColumns][index % CellColumns] = static_cast<int16_t>(sameBits);
}

// Limit 56, 312 perfect cells, the others at 34 (3), 38 (10), 42 (25),
// 46 (47), 50 (88), 54 (150), 58 (201) and 62 (164). Rows 0 and 1 are
// perfect but for cells 10 to 13 of row 0 at 50 and 9 to 14 of row 1 at 54;
// from row 2 on the 313 cells below the limit come first.
void FillWorkedExample() {
  for (int index = 0; index < CellCount; ++index) SetCell(index, 64);
  for (int column = 10; column <= 13; ++column) SetCell(column, 50);
  for (int column = 9; column <= 14; ++column) SetCell(CellColumns + column, 54);
  const int rest[][2] = {{34, 3},   {38, 10},  {42, 25},  {46, 47}, {50, 84},
                         {54, 144}, {58, 201}, {62, 164}, {64, 242}};
  int index = 2 * CellColumns;
  for (const auto& [sameBits, count] : rest)
    for (int i = 0; i < count; ++i) SetCell(index++, sameBits);
}

const std::string Tens = "  0000000000111111111122222222223333333333";
const std::string Units = "  0123456789012345678901234567890123456789";

// The 36 lines of the worked example where every cursor move takes effect.
Lines WorkedExampleLines() {
  Lines lines = {
      "---------samebits overview-(0-63)-----------",
      " samebits:  0-3   4-7   8-11  12-15 16-19 20-23 24-27 28-31 32-35 36-39 40-43 44-47 "
      "48-51 52-55 56-59 60-63",
      "    count:    0     0     0     0     0     0     0     0     3    10    25    47    "
      "88   150   201   164",
      "312 perfect matches. -*- 91% same bits (57988 of 64000)",
      "",
      "-------big differences (samebits<56)--------",
      Tens,
      Units,
      " 0..........****.......................... 0",
      " 1.........******......................... 1",
  };
  for (int row = 2; row < CellRows; ++row) {
    std::string label = std::to_string(row);
    label.insert(0, 2 - label.size(), ' ');
    const int marked = row < 9 ? 40 : row == 9 ? 33 : 0;
    lines.push_back(label + std::string(marked, '*') + std::string(40 - marked, '.') + label);
  }
  lines.insert(lines.end(), {Tens, Units, ""});
  return lines;
}

void PrintReport(int32_t columns, int32_t rows, int16_t limit, int32_t startRow = 0) {
  MemoryConsoleSetup setup;
  setup.bufferWidth = columns;
  setup.bufferHeight = rows;
  setup.windowRight = columns - 1;
  setup.windowBottom = rows - 1;
  setup.cursorY = startRow;
  StartMemoryConsole(setup);
  PrintStatistics(SameBitsGrid, limit);
}

int MarkCount() {
  int marks = 0;
  for (int32_t r = 8; r < 8 + CellRows; ++r)
    for (char mark : MemoryConsoleWindowRow(r).substr(2, 40)) marks += mark == '*';
  return marks;
}

TEST(StatisticsReport, WorkedExampleOnEveryWindow) {
  const Lines wide = WorkedExampleLines();
  // The last range text fills column 108, so the cursor has wrapped before
  // the line ends: one empty row follows the range line.
  Lines at108 = wide;
  at108.insert(at108.begin() + 2, "");
  // Moves to column 85 and beyond are ignored: from range 12 on the pieces
  // close up, and both overview lines wrap at column 80.
  Lines at80 = wide;
  at80.erase(at80.begin() + 1, at80.begin() + 3);
  at80.insert(at80.begin() + 1,
              {" samebits:  0-3   4-7   8-11  12-15 16-19 20-23 24-27 28-31 32-35 36-39 40-43 44",
               "-47 48-51 52-55 56-59 60-63",
               "    count:    0     0     0     0     0     0     0     0     3    10    25    4",
               "7  88 150 201 164"});
  const struct {
    int32_t columns, rows, startRow;
    const Lines& screen;
  } cases[] = {
      {109, 40, 0, wide}, {108, 40, 0, at108}, {80, 40, 0, at80},
      // Short windows scroll: the lines that went over the top are lost.
      {120, 25, 0, wide}, {120, 25, 24, wide},
      // Rows past 255 are rows like any other.
      {120, 300, 258, wide},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows << " from row " << c.startRow);
    FillWorkedExample();
    PrintReport(c.columns, c.rows, 56, c.startRow);
    // Every line end on the bottom row scrolls the window once.
    const int32_t count = static_cast<int32_t>(c.screen.size());
    const int32_t scrolls = std::max(0, c.startRow + count - (c.rows - 1));
    EXPECT_EQ(MemoryConsoleScrollCount(), scrolls);
    for (int32_t r = 0; r < c.rows; ++r) {
      const int32_t line = r + scrolls - c.startRow;
      EXPECT_EQ(MemoryConsoleWindowRow(r), line >= 0 && line < count ? c.screen[line] : "")
          << "window row " << r;
    }
    EXPECT_EQ(MemoryConsoleCursorX(), 0);
    EXPECT_EQ(MemoryConsoleCursorY(), c.startRow + count - scrolls);
  }
}

// Grids whose cells add up to a total, the first total mod 1000 cells one
// above the rest: all 1000 fall in one range, or all are perfect.
TEST(StatisticsReport, CountsAndPercentages) {
  const struct {
    int32_t total;
    int range;  // -1: every cell perfect
    int percent;
    const char* countLine = nullptr;  // checked where given
  } cases[] = {
      {320, 0, 0}, {960, 0, 2}, {1600, 0, 2}, {2880, 0, 4},  // halves round to even
      {4000, 1, 6},
      {34880, 8, 55},  // the double result lies just above 54.5
      {36800, 9, 57},  // and here just below 57.5
      // A counter of 1000 is written whole; the next keeps its own column.
      {50000, 12, 78,
       "    count:    0     0     0     0     0     0     0     0     0     0     0     0   1000"
       "    0     0     0"},
      {63000, 15, 98}, {64000, -1, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.total);
    for (int index = 0; index < CellCount; ++index)
      SetCell(index, c.total / CellCount + (index < c.total % CellCount ? 1 : 0));
    PrintReport(120, 40, 64);
    std::istringstream counts(MemoryConsoleWindowRow(2).substr(10));
    for (int k = 0; k < 16; ++k) {
      int count = -1;
      counts >> count;
      EXPECT_EQ(count, k == c.range ? 1000 : 0) << "range " << k;
    }
    if (c.countLine != nullptr) {
      EXPECT_EQ(MemoryConsoleWindowRow(2), c.countLine);
    }
    const int perfect = c.range < 0 ? 1000 : 0;
    EXPECT_EQ(MemoryConsoleWindowRow(3), std::to_string(perfect) + " perfect matches. -*- " +
                                             std::to_string(c.percent) + "% same bits (" +
                                             std::to_string(c.total) + " of 64000)");
    EXPECT_EQ(MarkCount(), 1000 - perfect);  // the limit 64 marks every imperfect cell
  }
}

// Cells cycle through 1 to 64, so map row 1 holds 41 to 64, then 1 to 16.
TEST(StatisticsReport, LimitMarksTheCellsBelowIt) {
  for (int index = 0; index < CellCount; ++index) SetCell(index, 1 + index % 64);
  const struct {
    int16_t limit;
    std::string rowOne;
    int marks;
  } cases[] = {
      {64, std::string(23, '*') + "." + std::string(16, '*'), 1000 - 15},
      {2, std::string(24, '.') + "*" + std::string(15, '.'), 16},
      {0, std::string(40, '.'), 0},
      {-5, std::string(40, '.'), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limit);
    PrintReport(120, 40, c.limit);
    EXPECT_EQ(MemoryConsoleWindowRow(5), std::string("-------big differences (samebits<") +
                                             std::to_string(c.limit) + ")--------");
    EXPECT_EQ(MemoryConsoleWindowRow(9), " 1" + c.rowOne + " 1");
    EXPECT_EQ(MarkCount(), c.marks);
  }
}

}  // namespace
