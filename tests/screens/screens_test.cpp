// The layer the programs beside the converter share: option numbers, the
// screen and colour files with their rejection lines, and --help, --version
// and the usage.
// The other rejection lines are seen in the programs' cases.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "memory_console.h"
#include "memory_files.h"
#include "run_ended.h"
#include "runtime/command_line.h"
#include "screens/colour_file.h"
#include "screens/number_option.h"
#include "screens/program_help.h"
#include "screens/screen_file.h"

namespace {

// Runs step as the program "prog" with the given words on fresh in-memory
// files and console; the exit status, or -1 when step returned.
int32_t RunAsProg(const std::vector<std::string_view>& words, const std::function<void()>& step) {
  static std::vector<std::string_view> kept;
  kept = words;
  SetArguments("prog", kept.data(), static_cast<int>(kept.size()));
  memoryFiles = {};
  StartMemoryConsole(80, 10);
  try {
    step();
  } catch (const RunEnded& ended) {
    return ended.status;
  }
  return -1;
}

TEST(Screens, NumberWords) {
  struct Row { std::string_view word; int32_t lowest, highest, value; };  // value -1: turned down
  const Row rows[] = {
      {"0", 0, 15, 0},
      {"15", 0, 15, 15},
      {"007", 0, 15, 7},
      {"9999", 0, 9999, 9999},
      {"16", 0, 15, -1},
      {"0", 1, 8, -1},
      {"10000", 0, 20000, -1},
      {"", 0, 15, -1},
      {"-1", -5, 15, -1},
      {"1x", 0, 15, -1},
  };
  for (const Row& row : rows) {
    int32_t value = -1;
    EXPECT_EQ(ReadNumberWord(row.word, row.lowest, row.highest, value), row.value >= 0) << row.word;
    EXPECT_EQ(value, row.value) << row.word;
  }
}

TEST(Screens, ScreenFileSizes) {
  struct Row { int size; int32_t status; std::string error; };
  const Row rows[] = {
      {1000, -1, ""},
      {999, 1, "Error: \"s.bin\" has 999 bytes, a screen file has exactly 1000.\n"},
      {1, 1, "Error: \"s.bin\" has 1 byte, a screen file has exactly 1000.\n"},
      {0, 1, "Error: \"s.bin\" has 0 bytes, a screen file has exactly 1000.\n"},
      {1001, 1, "Error: \"s.bin\" has more than 1000 bytes, a screen file has exactly 1000.\n"},
  };
  for (const Row& row : rows) {
    std::string bytes;
    for (int i = 0; i < row.size; ++i) bytes += static_cast<char>(i * 7);
    uint8_t codes[CellCount] = {};
    const int32_t status = RunAsProg({}, [&] {
      memoryFiles.files["s.bin"] = bytes;
      ReadScreenFile("s.bin", codes);
    });
    EXPECT_EQ(status, row.status) << row.size;
    EXPECT_EQ(memoryFiles.standardError, row.error);
    EXPECT_EQ(MemoryConsoleWindowText(), "Reading screen file \"s.bin\"...");
    if (status == -1) {
      EXPECT_EQ(std::string(codes, codes + CellCount), bytes);
    }
  }
}

// A colour file is taken whole when it has 1002 bytes of 0 to 15; the first
// byte out of range is named, the border's and the background's too.
TEST(Screens, ColourFiles) {
  struct Row { int size, badAt, badValue; int32_t status; std::string error; };
  const Row rows[] = {
      {1002, -1, 0, -1, ""},
      {1001, -1, 0, 1, "Error: \"c.bin\" has 1001 bytes, a colour file has exactly 1002.\n"},
      {1002, 37, 16, 1, "Error: \"c.bin\" holds 16 at byte 37; colours are 0 to 15.\n"},
      {1002, 1000, 255, 1, "Error: \"c.bin\" holds 255 at byte 1000; colours are 0 to 15.\n"},
      {1002, 1001, 99, 1, "Error: \"c.bin\" holds 99 at byte 1001; colours are 0 to 15.\n"},
  };
  for (const Row& row : rows) {
    std::string bytes;
    for (int i = 0; i < row.size; ++i) bytes += static_cast<char>(i * 7 % 16);
    if (row.badAt >= 0) bytes[row.badAt] = static_cast<char>(row.badValue);
    ColourScreen colours{};
    const int32_t status = RunAsProg({}, [&] {
      memoryFiles.files["c.bin"] = bytes;
      ReadColourFile("c.bin", colours);
    });
    EXPECT_EQ(status, row.status) << row.size << " " << row.badAt;
    EXPECT_EQ(memoryFiles.standardError, row.error);
    EXPECT_EQ(MemoryConsoleWindowText(), "Reading colour file \"c.bin\"...");
    if (status == -1) {
      EXPECT_EQ(std::string(colours.inks, colours.inks + CellCount), bytes.substr(0, 1000));
      EXPECT_EQ(colours.border * 16 + colours.background, bytes[1000] * 16 + bytes[1001]);
    }
  }
}

TEST(Screens, HelpVersionAndUsage) {
  constexpr UsageLine usage[] = {{"Usage: ", true, " <in>"}, {"", false, "Does it."}};
  const ProgramHelp help = {"demo", usage};
  const std::string text =
      "Usage: prog <in>\nDoes it.\n       prog --help | --version\n"
      "Shows this usage, or the version, on standard output.\n";
  struct Row { std::vector<std::string_view> words; int32_t status; std::string out; };
  const Row rows[] = {
      {{"--help"}, 0, text},
      {{"in", "--version", "--help"}, 0, text},
      {{"--version"}, 0, "demo " CELLGLYPH_VERSION "\n"},
      {{"in", "--HELP", "-h"}, -1, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RunAsProg(row.words, [&] { AnswerHelpOrVersion(help); }), row.status) << row.out;
    EXPECT_EQ(memoryFiles.standardOutput, row.out);
    EXPECT_EQ(memoryFiles.standardError + MemoryConsoleWindowText(), "");
  }
  EXPECT_EQ(RunAsProg({"in"}, [&] { RejectCommandLine(help); }), 1);
  EXPECT_EQ(memoryFiles.standardError, text);
  EXPECT_EQ(memoryFiles.standardOutput + MemoryConsoleWindowText(), "");
}

}  // namespace
