#include "report/statistics_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/run_options.h"
#include "files/io_check.h"
#include "match/match_results.h"
#include "memory_console.h"
#include "report_grids.h"
#include "run_ended.h"

namespace {

constexpr int32_t WindowRows = 40;  // room for the whole report, no scrolling

void PrintReport(int32_t columns, int16_t limit) {
  StartMemoryConsole(columns, WindowRows);
  samebitLimit = limit;
  PrintStatistics();
}

std::vector<std::string> ScreenRows(int32_t count) {
  std::vector<std::string> rows;
  for (int32_t r = 0; r < count; ++r) rows.push_back(MemoryConsoleWindowRow(r));
  return rows;
}

void ExpectScreen(const std::vector<std::string>& expected) {
  std::vector<std::string> rows = ScreenRows(WindowRows);
  for (size_t r = 0; r < rows.size(); ++r)
    EXPECT_EQ(rows[r], r < expected.size() ? expected[r] : "") << "window row " << r;
  // The cursor waits at the start of the row after the report.
  EXPECT_EQ(MemoryConsoleCursorX(), 0);
  EXPECT_EQ(MemoryConsoleCursorY(), static_cast<int32_t>(expected.size()));
}

std::vector<std::string> WithRowAfter(std::vector<std::string> lines, size_t index, std::string row) {
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(row));
  return lines;
}

TEST(StatisticsReport, WorkedExampleOnWideWindows) {
  const std::vector<std::string> lines = WorkedExampleLines();
  struct Case {
    int32_t columns;
    std::vector<std::string> screen;
  };
  const Case cases[] = {
      {200, lines},
      {109, lines},
      // The last range text fills column 108 itself, so the cursor has already
      // wrapped when the line ends: one empty row follows the range line.
      {108, WithRowAfter(lines, 1, "")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.columns);
    FillWorkedExampleGrid(SameBitsGrid);
    PrintReport(c.columns, 56);
    ExpectScreen(c.screen);
  }
}

// Moves to column 85 and beyond do not fit 80 columns: from range 12 on the
// pieces follow each other, and both overview lines wrap at column 80.
TEST(StatisticsReport, WorkedExampleOnEightyColumns) {
  FillWorkedExampleGrid(SameBitsGrid);
  PrintReport(80, 56);
  const std::vector<std::string> lines = WorkedExampleLines();
  std::vector<std::string> expected = {
      "---------samebits overview-(0-63)-----------",
      " samebits:  0-3   4-7   8-11  12-15 16-19 20-23 24-27 28-31 32-35 36-39 40-43 44",
      "-47 48-51 52-55 56-59 60-63",
      "    count:    0     0     0     0     0     0     0     0     3    10    25    4",
      "7  88 150 201 164",
  };
  expected.insert(expected.end(), lines.begin() + 3, lines.end());
  ExpectScreen(expected);
}

// Every write, line and completion step reaches the console as one draw:
// title 1, range line 1 + 16 + 1, count line 1 + 16 + 1, summary 2 + 2,
// heading 1, each header (1 + 40 + 1) x 2, each map row 1 + 40 + 1 + 1, and
// the closing empty line.
TEST(StatisticsReport, DrawsOnceForEveryStatement) {
  FillWorkedExampleGrid(SameBitsGrid);
  PrintReport(120, 56);
  constexpr int header = 2 * (1 + 40 + 1);
  constexpr int map = 25 * (1 + 40 + 1 + 1);
  EXPECT_EQ(MemoryConsoleDrawCount(), 1 + 18 + 18 + 4 + 1 + header + map + header + 1);
}

TEST(StatisticsReport, SummaryLines) {
  const std::string zeros =
      "    count:    0     0     0     0     0     0     0     0     0     0     0     0     0"
      "     0     0     0";
  struct Case {
    const char* name;
    int32_t total;
    const char* countLine;  // nullptr: not checked
    const char* summary;
  };
  const Case cases[] = {
      {"all perfect", 64000, zeros.c_str(), "1000 perfect matches. -*- 100% same bits (64000 of 64000)"},
      {"no perfect", 32000,
       "    count:    0     0     0     0     0     0     0     0   1000    0     0     0     0"
       "     0     0     0",
       "0 perfect matches. -*- 50% same bits (32000 of 64000)"},
      {"one below perfect", 63999, nullptr, "999 perfect matches. -*- 100% same bits (63999 of 64000)"},
      {"half down to even", 320, nullptr, "0 perfect matches. -*- 0% same bits (320 of 64000)"},
      {"half up to even", 960, nullptr, "0 perfect matches. -*- 2% same bits (960 of 64000)"},
      {"2.5", 1600, nullptr, "0 perfect matches. -*- 2% same bits (1600 of 64000)"},
      {"4.5", 2880, nullptr, "0 perfect matches. -*- 4% same bits (2880 of 64000)"},
      {"above 54.5", 34880, nullptr, "0 perfect matches. -*- 55% same bits (34880 of 64000)"},
      {"below 57.5", 36800, nullptr, "0 perfect matches. -*- 57% same bits (36800 of 64000)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FillGridWithTotal(SameBitsGrid, c.total);
    PrintReport(120, 64);
    if (c.countLine != nullptr) {
      EXPECT_EQ(MemoryConsoleWindowRow(2), c.countLine);
    }
    EXPECT_EQ(MemoryConsoleWindowRow(3), c.summary);
    EXPECT_EQ(MemoryConsoleWindowRow(4), "");
  }
}

TEST(StatisticsReport, AllPerfectMarksNothingWhateverTheLimit) {
  for (int16_t limit : {64, 1, 0, -32768}) {
    SCOPED_TRACE(limit);
    FillGrid(SameBitsGrid, 64);
    PrintReport(120, limit);
    for (int32_t r = 0; r < 25; ++r)
      EXPECT_EQ(MemoryConsoleWindowRow(8 + r).find('*'), std::string::npos) << "map row " << r;
  }
}

// A counter of 1000 keeps all four digits; the next counter still starts at
// its own column.
TEST(StatisticsReport, CounterWiderThanItsField) {
  struct Case {
    int16_t sameBits;
    const char* countLine;
  };
  const Case cases[] = {
      {2,
       "    count:  1000    0     0     0     0     0     0     0     0     0     0     0     0"
       "     0     0     0"},
      {50,
       "    count:    0     0     0     0     0     0     0     0     0     0     0     0   1000"
       "    0     0     0"},
      {63,
       "    count:    0     0     0     0     0     0     0     0     0     0     0     0     0"
       "     0     0   1000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sameBits);
    FillGrid(SameBitsGrid, c.sameBits);
    PrintReport(120, 56);
    EXPECT_EQ(MemoryConsoleWindowRow(2), c.countLine);
  }
}

// Cells cycle through 1 to 64, so row 1 holds 41 to 64 and then 1 to 16.
TEST(StatisticsReport, LimitMarksCellsBelowIt) {
  for (int index = 0; index < CellCount; ++index)
    SameBitsGrid[index / CellColumns][index % CellColumns] = static_cast<int16_t>(1 + index % 64);
  struct Case {
    int16_t limit;
    const char* heading;
    std::string rowOne;
    int marks;
  };
  const Case cases[] = {
      {64, "-------big differences (samebits<64)--------",
       " 1" + std::string(23, '*') + "." + std::string(16, '*') + " 1", 1000 - 15},
      {33, "-------big differences (samebits<33)--------",
       " 1" + std::string(24, '.') + std::string(16, '*') + " 1", 15 * 32 + 32},
      {2, "-------big differences (samebits<2)--------",
       " 1" + std::string(24, '.') + "*" + std::string(15, '.') + " 1", 16},
      {1, "-------big differences (samebits<1)--------", " 1" + std::string(40, '.') + " 1", 0},
      {0, "-------big differences (samebits<0)--------", " 1" + std::string(40, '.') + " 1", 0},
      {-5, "-------big differences (samebits<-5)--------", " 1" + std::string(40, '.') + " 1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    PrintReport(120, c.limit);
    EXPECT_EQ(MemoryConsoleWindowRow(5), c.heading);
    EXPECT_EQ(MemoryConsoleWindowRow(9), c.rowOne);
    int marks = 0;
    for (int32_t r = 0; r < 25; ++r)
      for (char ch : MemoryConsoleWindowRow(8 + r).substr(2, 40)) marks += ch == '*';
    EXPECT_EQ(marks, c.marks);
  }
}

TEST(StatisticsReport, RowNumbersAndColumnHeaders) {
  FillGrid(SameBitsGrid, 64);
  PrintReport(120, 56);
  const std::string tens = "  0000000000111111111122222222223333333333";
  const std::string units = "  0123456789012345678901234567890123456789";
  struct Case {
    int32_t windowRow;
    std::string text;
  };
  const std::string dots(40, '.');
  const Case cases[] = {
      {6, tens},  {7, units},  {33, tens},  {34, units},
      {8, " 0" + dots + " 0"},  {17, " 9" + dots + " 9"},
      {18, "10" + dots + "10"}, {32, "24" + dots + "24"},
      {35, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MemoryConsoleWindowRow(c.windowRow), c.text) << "row " << c.windowRow;
}

// A console write that failed before the report ends the run at the very
// first piece: nothing is drawn.
TEST(StatisticsReport, PendingFailureEndsTheRunBeforeAnythingIsDrawn) {
  FillWorkedExampleGrid(SameBitsGrid);
  StartMemoryConsole(120, WindowRows);
  samebitLimit = 56;
  pendingIoError = 101;
  try {
    PrintStatistics();
    FAIL() << "the report ran to its end";
  } catch (const RunEnded& ended) {
    EXPECT_EQ(ended.status, 101);
  }
  EXPECT_EQ(MemoryConsoleWindowText(), "");
}

}  // namespace
