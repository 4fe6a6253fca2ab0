// A whole run in process on in-memory files, with each of its file
// operations made to fail in turn: the run must end right there with that
// number, report it, print neither the report nor "done.", and leave the
// output as the failed step left it.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "bmp/pixel_layout.h"
#include "bmp_test_files.h"
#include "driver/main_program.h"
#include "driver/run_state.h"
#include "match/screen_layout.h"
#include "memory_console.h"
#include "memory_files.h"
#include "run_ended.h"
#include "runtime/command_line.h"

namespace {

const char InputName[] = "in.bmp";
const char OutputName[] = "out.bin";
const std::string KeptOutput = "keep me";
const std::string WritingLine = "Opening file \"out.bin\" for writing...";

struct Outcome {
  int32_t status = -1;
  std::vector<std::string> lines;  // the console window, trailing empty rows cut
  std::string standardError;
  std::string output;              // what the output file holds afterwards
  std::string kinds;               // the file operations made, one letter each
};

Outcome RunWithFault(int operation, uint16_t number, uint32_t bytesBefore = 0) {
  ResetMemoryFiles();
  const std::vector<uint8_t> image = WellFormedBmp();
  PutMemoryFile(InputName, image.data(), image.size());
  PutMemoryFile(OutputName, reinterpret_cast<const uint8_t*>(KeptOutput.data()), KeptOutput.size());
  if (operation > 0) InjectMemoryFault(operation, number, bytesBefore);

  static std::string_view arguments[4] = {InputName, OutputName, "normal", "56"};
  SetArguments("cellglyph", arguments, 4);
  ResetRunState();
  StartMemoryConsole(120, 80);
  Outcome outcome;
  try {
    RunMainProgram();
  } catch (const RunEnded& ended) {
    outcome.status = ended.status;
  }
  std::istringstream text(MemoryConsoleWindowText());
  for (std::string line; std::getline(text, line);) outcome.lines.push_back(line);
  outcome.standardError = MemoryStandardError();
  std::vector<uint8_t> output = MemoryFileBytes(OutputName);
  outcome.output.assign(output.begin(), output.end());
  outcome.kinds = MemoryFileOperationKinds();
  return outcome;
}

bool Shows(const Outcome& outcome, const std::string& line) {
  for (const std::string& shown : outcome.lines)
    if (shown == line) return true;
  return false;
}

std::string Screen() { return std::string(reinterpret_cast<const char*>(ScreenCodes), CellCount); }

// A number no real failure uses, different for neighbouring operations.
uint16_t FaultNumber(int operation) { return static_cast<uint16_t>(170 + operation % 50); }

TEST(FaultSequence, TheCleanRunMakesTheExpectedOperations) {
  Outcome clean = RunWithFault(0, 0);
  ASSERT_EQ(clean.status, 0);
  EXPECT_EQ(clean.lines.back(), "done.");
  EXPECT_EQ(clean.output, Screen());
  EXPECT_EQ(MemoryFilesOpen(), 0);
  // Open, the signature and 15 header fields, 200 positioned rows, close;
  // then create, one write of the whole screen, close.
  std::string expected = "o" + std::string(16, 'r');
  for (int row = 0; row < 200; ++row) expected += "sr";
  expected += "cowc";
  EXPECT_EQ(clean.kinds, expected);
}

TEST(FaultSequence, EveryFailingOperationEndsTheRunWithItsNumber) {
  const std::string kinds = RunWithFault(0, 0).kinds;
  const size_t outputCreate = kinds.rfind('o') + 1;  // operations count from 1
  for (int operation = 1; operation <= static_cast<int>(kinds.size()); ++operation) {
    SCOPED_TRACE("operation " + std::to_string(operation) + " (" + kinds[operation - 1] + ")");
    const uint16_t number = FaultNumber(operation);
    Outcome run = RunWithFault(operation, number, 600);
    EXPECT_EQ(run.status, number);
    EXPECT_EQ(run.kinds.size(), static_cast<size_t>(operation)) << "the run went on";
    EXPECT_EQ(run.standardError.rfind("Runtime error " + std::to_string(number) + " at $", 0), 0u)
        << run.standardError;
    EXPECT_FALSE(Shows(run, "done."));
    EXPECT_FALSE(Shows(run, "---------samebits overview-(0-63)-----------"));
    if (static_cast<size_t>(operation) <= outputCreate) {
      EXPECT_EQ(run.output, KeptOutput) << "the output was touched before it was created";
      EXPECT_EQ(Shows(run, WritingLine), static_cast<size_t>(operation) == outputCreate);
    } else if (kinds[operation - 1] == 'w') {
      EXPECT_EQ(run.output, Screen().substr(0, 600)) << "what the failed write stored";
    } else {
      // Closing failed after a complete write: the 1000 bytes are there,
      // but the run still ends with the failure and no "done.".
      EXPECT_EQ(run.output, Screen());
    }
  }
}

struct StopCase {
  const char* name;
  char kind;       // the kind of operation that fails
  int occurrence;  // which one of that kind, from 1; -1 for the last
  std::string lastLine;
};

TEST(FaultSequence, TheConsoleStopsAtTheLineOfTheFailedStep) {
  const std::string kinds = RunWithFault(0, 0).kinds;
  const StopCase cases[] = {
      {"opening the input", 'o', 1, "Opening file \"in.bmp\" for reading..."},
      {"reading the signature", 'r', 1, "Opening file \"in.bmp\" for reading..."},
      {"reading the last header field", 'r', 16, "Opening file \"in.bmp\" for reading..."},
      {"positioning the first row", 's', 1, "Hires: Image is in black/white mode."},
      {"reading the last row", 'r', -1, "Hires: Image is in black/white mode."},
      {"closing the input", 'c', 1, "8000 bytes PixelData read."},
      {"creating the output", 'o', 2, WritingLine},
      {"writing the output", 'w', 1, WritingLine},
      {"closing the output", 'c', 2, WritingLine},
  };
  for (const StopCase& c : cases) {
    size_t at = kinds.rfind(c.kind);
    if (c.occurrence > 0) {
      size_t from = 0;
      for (int seen = 0; seen < c.occurrence; ++seen, from = at + 1) at = kinds.find(c.kind, from);
    }
    ASSERT_NE(at, std::string::npos) << c.name;
    Outcome run = RunWithFault(static_cast<int>(at) + 1, 150);
    EXPECT_EQ(run.status, 150) << c.name;
    ASSERT_FALSE(run.lines.empty()) << c.name;
    EXPECT_EQ(run.lines.back(), c.lastLine) << c.name;
  }
}

TEST(FaultSequence, AShortWriteIsADiskFull) {
  const std::string kinds = RunWithFault(0, 0).kinds;
  const int write = static_cast<int>(kinds.find('w')) + 1;
  for (uint32_t stored : {0u, 1u, 999u}) {
    Outcome run = RunWithFault(write, 0, stored);  // reports no error, stores less
    EXPECT_EQ(run.status, 101) << stored;
    EXPECT_EQ(run.output, Screen().substr(0, stored));
    EXPECT_FALSE(Shows(run, "done."));
  }
}

}  // namespace
