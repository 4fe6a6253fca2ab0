// A whole run in process on in-memory files, with each of its file
// operations made to fail in turn, into a file and into standard output:
// the run must end right there with that number and report it, the console
// must stop at the line of the step that failed, and the output must stay
// as it was until it is written, then hold what the failed step left.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "driver/main_program.h"
#include "driver/run_state.h"
#include "match/screen_layout.h"
#include "memory_console.h"
#include "memory_files.h"
#include "run_ended.h"
#include "runtime/command_line.h"
#include "runtime/error_numbers.h"

namespace {

const std::string KeptOutput = "keep me";

struct Outcome {
  int32_t status = -1;
  std::string lastLine;  // the console's last non-empty row
  std::string written;   // what the output holds afterwards
  std::string operations;  // the file operations made, one letter each
};

// A run converting in.bmp into `output`, "" being standard output.
Outcome RunWithFault(const std::vector<uint8_t>& image, const std::string& output, size_t failAt,
                     uint16_t number, uint32_t failBytes) {
  memoryFiles = {};
  memoryFiles.files = {{"in.bmp", std::string(image.begin(), image.end())},
                       {"out.bin", KeptOutput}};
  memoryFiles.failAt = failAt;
  memoryFiles.failNumber = number;
  memoryFiles.failBytes = failBytes;
  static std::string_view arguments[4] = {"in.bmp", "", "normal", "56"};
  arguments[1] = output;
  SetArguments("cellglyph", arguments, 4);
  ResetRunState();
  StartMemoryConsole(120, 80);
  Outcome run;
  try {
    RunMainProgram();
  } catch (const RunEnded& ended) {
    run.status = ended.status;
  }
  const std::string text = MemoryConsoleWindowText();
  run.lastLine = text.substr(text.rfind('\n') + 1);
  run.written = output.empty() ? memoryFiles.standardOutput : memoryFiles.files[output];
  run.operations = memoryFiles.operations;
  return run;
}

TEST(FaultSequence, EachFileOperationFailsInTurn) {
  const std::vector<uint8_t> image = WellFormedBmp();
  // Open the input, read the header, position and read each of the 200
  // rows, close; only then create the output, write it whole and close it.
  // Standard output is neither opened nor closed.
  const struct {
    std::string output, before, operations;
  } cases[] = {{"out.bin", KeptOutput, "or+(sr){200}cowc"}, {"", "", "or+(sr){200}cw"}};
  for (const auto& c : cases) {
    const Outcome cleanRun = RunWithFault(image, c.output, 0, 0, 0);
    const std::string clean = cleanRun.operations;
    const std::string screen(reinterpret_cast<const char*>(ScreenCodes), CellCount);
    ASSERT_EQ(cleanRun.status, 0);
    ASSERT_TRUE(std::regex_match(clean, std::regex(c.operations))) << clean;
    ASSERT_EQ(cleanRun.written, screen);
    const size_t firstSeek = clean.find('s'), inputClose = clean.find('c'), write = clean.find('w');
    const std::string writing = "Opening file \"" + c.output + "\" for writing...";
    for (size_t at = 0; at < clean.size(); ++at) {
      SCOPED_TRACE(c.output + ": operation " + std::to_string(at + 1) + " (" + clean[at] + ")");
      const uint16_t number = static_cast<uint16_t>(170 + at % 50);  // no real failure's number
      const Outcome run = RunWithFault(image, c.output, at + 1, number, 600);
      EXPECT_EQ(run.status, number);
      EXPECT_EQ(run.operations.size(), at + 1) << "the run went on";
      EXPECT_EQ(memoryFiles.standardError.rfind("Runtime error " + std::to_string(number), 0), 0u);
      EXPECT_EQ(run.lastLine, at < firstSeek     ? "Opening file \"in.bmp\" for reading..."
                              : at < inputClose  ? "Hires: Image is in black/white mode."
                              : at == inputClose ? "8000 bytes PixelData read."
                                                 : writing);
      EXPECT_EQ(run.written, at < write ? c.before : at == write ? screen.substr(0, 600) : screen);
    }
    // A write that stores less than asked without an error is a full disk.
    for (uint32_t stored : {0u, 999u}) {
      const Outcome run = RunWithFault(image, c.output, write + 1, 0, stored);
      EXPECT_EQ(run.status, DiskWriteError);
      EXPECT_EQ(run.written, screen.substr(0, stored));
    }
  }
  // Closing an input that was turned down can still fail.
  BmpHeaderValues badSignature, wrongSize;
  badSignature.signature[1] = 'X';
  wrongSize.bfSize = 8061;
  for (const BmpHeaderValues& values : {badSignature, wrongSize}) {
    const std::vector<uint8_t> rejected = BuildBmp(values);
    const Outcome turnedDown = RunWithFault(rejected, "out.bin", 0, 0, 0);
    ASSERT_EQ(turnedDown.status, RunRejected);
    ASSERT_TRUE(std::regex_match(turnedDown.operations, std::regex("or+c")));
    const Outcome run = RunWithFault(rejected, "out.bin", turnedDown.operations.size(), 177, 0);
    EXPECT_EQ(run.status, 177);
    EXPECT_EQ(run.written, KeptOutput);
  }
}

}  // namespace
