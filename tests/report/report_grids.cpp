#include "report_grids.h"

namespace {

struct ValueRun {
  int16_t sameBits;
  int count;
};

std::string MapLine(const std::string& label, const std::string& marks) {
  return label + marks + label;
}

}  // namespace

void FillGrid(Grid& grid, int16_t sameBits) {
  for (auto& row : grid)
    for (auto& cell : row) cell = sameBits;
}

void FillGridWithTotal(Grid& grid, int32_t total) {
  int16_t base = static_cast<int16_t>(total / CellCount);
  int32_t raised = total % CellCount;
  for (int index = 0; index < CellCount; ++index)
    grid[index / CellColumns][index % CellColumns] =
        static_cast<int16_t>(index < raised ? base + 1 : base);
}

void FillWorkedExampleGrid(Grid& grid) {
  FillGrid(grid, 64);
  for (int column = 10; column <= 13; ++column) grid[0][column] = 50;
  for (int column = 9; column <= 14; ++column) grid[1][column] = 54;
  // Rows 0 and 1 took 4 cells at 50, 6 at 54 and 70 perfect ones.
  const ValueRun rest[] = {{34, 3},   {38, 10},  {42, 25},  {46, 47},  {50, 84},
                           {54, 144}, {58, 201}, {62, 164}, {64, 242}};
  int index = 2 * CellColumns;
  for (const ValueRun& run : rest)
    for (int i = 0; i < run.count; ++i, ++index)
      grid[index / CellColumns][index % CellColumns] = run.sameBits;
}

std::vector<std::string> WorkedExampleLines() {
  std::vector<std::string> lines = {
      "---------samebits overview-(0-63)-----------",
      " samebits:  0-3   4-7   8-11  12-15 16-19 20-23 24-27 28-31 32-35 36-39 40-43 44-47 "
      "48-51 52-55 56-59 60-63",
      "    count:    0     0     0     0     0     0     0     0     3    10    25    47    "
      "88   150   201   164",
      "312 perfect matches. -*- 91% same bits (57988 of 64000)",
      "",
      "-------big differences (samebits<56)--------",
      "  0000000000111111111122222222223333333333",
      "  0123456789012345678901234567890123456789",
      " 0..........****.......................... 0",
      " 1.........******......................... 1",
  };
  for (const char* label : {" 2", " 3", " 4", " 5", " 6", " 7", " 8"})
    lines.push_back(MapLine(label, std::string(40, '*')));
  lines.push_back(MapLine(" 9", std::string(33, '*') + std::string(7, '.')));
  for (int row = 10; row <= 24; ++row)
    lines.push_back(MapLine(std::to_string(row), std::string(40, '.')));
  lines.push_back("  0000000000111111111122222222223333333333");
  lines.push_back("  0123456789012345678901234567890123456789");
  lines.push_back("");
  return lines;
}
