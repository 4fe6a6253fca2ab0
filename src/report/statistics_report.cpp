#include "report/statistics_report.h"

#include "console/console_lines.h"
#include "console/console_window.h"
#include "report/match_statistics.h"

namespace {

// Window column where the overview puts the text of range k.
uint8_t RangeColumn(int16_t range) { return static_cast<uint8_t>(6 * range + 13); }

// Puts the cursor at the column of range k on the row it stands on. A column
// beyond the window is ignored by MoveCursor, so the text then follows on.
void MoveToRangeColumn(int16_t range) {
  uint16_t row = QueryCursorRow();
  MoveCursor(RangeColumn(range), row);
}

void PrintRangeLine() {
  ShowText(" samebits: ");
  ShowStatementEnd();
  for (int16_t range = 0; range < SameBitsRangeCount; ++range) {
    MoveToRangeColumn(range);
    ShowSigned(SameBitsRangeSize * range);
    ShowChar('-');
    ShowSigned(SameBitsRangeSize * range + SameBitsRangeSize - 1);
    ShowChar(' ');
    ShowStatementEnd();
  }
  ShowLineEnd();
}

void PrintCountLine(const MatchStatistics& statistics) {
  ShowText("    count: ");
  ShowStatementEnd();
  for (int16_t range = 0; range < SameBitsRangeCount; ++range) {
    MoveToRangeColumn(range);
    ShowSigned(statistics.rangeCounts[range], 3);
    ShowChar(' ');
    ShowStatementEnd();
  }
  ShowLineEnd();
}

void PrintSummaryLines(const MatchStatistics& statistics) {
  ShowSigned(statistics.perfectCount);
  ShowText(" perfect matches. -*- ");
  ShowStatementEnd();
  ShowSigned(statistics.samePercent);
  ShowText("% same bits (");
  ShowSigned(statistics.sameBitsTotal);
  ShowText(" of 64000)");
  ShowStatementEnd();
  ShowLineEnd();
  ShowLineEnd();  // an empty line before the map
}

// The tens digits of the map's columns, then their units digits; every digit
// is a statement of its own (contract: one write a digit, see docs/design.md).
void PrintColumnHeader() {
  ShowText("  ");
  ShowStatementEnd();
  for (int16_t column = 0; column < CellColumns; ++column) {
    ShowSigned(column / 10);
    ShowStatementEnd();
  }
  ShowLineEnd();
  ShowText("  ");
  ShowStatementEnd();
  for (int16_t column = 0; column < CellColumns; ++column) {
    ShowSigned(column % 10);
    ShowStatementEnd();
  }
  ShowLineEnd();
}

void PrintMapRow(const int16_t (&sameBitsGrid)[CellRows][CellColumns], int16_t samebitLimit,
                 int16_t row) {
  ShowSigned(row, 2);
  ShowStatementEnd();
  for (int16_t column = 0; column < CellColumns; ++column) {
    ShowChar(sameBitsGrid[row][column] < samebitLimit ? '*' : '.');
    ShowStatementEnd();
  }
  ShowSigned(row, 2);
  ShowStatementEnd();
  ShowLineEnd();
}

void PrintDifferenceMap(const int16_t (&sameBitsGrid)[CellRows][CellColumns],
                        int16_t samebitLimit) {
  ShowText("-------big differences (samebits<");
  ShowSigned(samebitLimit);
  ShowText(")--------");
  ShowLineEnd();
  PrintColumnHeader();
  for (int16_t row = 0; row < CellRows; ++row) PrintMapRow(sameBitsGrid, samebitLimit, row);
  PrintColumnHeader();
}

}  // namespace

void PrintStatistics(const int16_t (&sameBitsGrid)[CellRows][CellColumns], int16_t samebitLimit) {
  const MatchStatistics statistics = ComputeMatchStatistics(sameBitsGrid);
  ShowLine("---------samebits overview-(0-63)-----------");
  PrintRangeLine();
  PrintCountLine(statistics);
  PrintSummaryLines(statistics);
  PrintDifferenceMap(sameBitsGrid, samebitLimit);
  ShowLineEnd();
}
