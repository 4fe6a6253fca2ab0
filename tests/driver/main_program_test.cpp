// The first phase of the main program: the banner, the usage text for a
// wrong argument count, and the dirart option.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/run_state.h"
#include "main_program_runner.h"
#include "memory_console.h"
#include "program_texts.h"

namespace {

// Runs the main program on a wide console and returns its exit status.
int32_t RunWith(const std::string& program, const std::vector<std::string>& arguments) {
  return RunMainProgramWith(program, arguments, 300, 30);
}

TEST(MainProgram, AWrongArgumentCountShowsTheUsage) {
  const std::vector<std::vector<std::string>> counts = {
      {}, {"a", "b", "c"}, {"a", "b", "c", "d", "e"}};
  for (const auto& arguments : counts) {
    EXPECT_EQ(RunWith("/opt/cg", arguments), 1) << arguments.size();
    EXPECT_EQ(MemoryConsoleWindowText(), UsageText("/opt/cg")) << arguments.size();
    EXPECT_FALSE(dirartMode);
  }
  EXPECT_EQ(std::string(UsageTail).size(), 87u);
}

TEST(MainProgram, ComposedLinesStopAt255Characters) {
  const struct {
    size_t pathLength;
    size_t exampleLength;
  } cases[] = {
      {161, 9 + 161 + 26},
      {162, 9 + 162 + 26},
      {220, 255},
      {221, 255},
      {100, 9 + 100 + 26},
  };
  for (const auto& c : cases) {
    std::string path(c.pathLength, 'p');
    path[0] = '/';
    RunWith(path, {});
    std::string usage = MemoryConsoleRow(2);
    std::string example = MemoryConsoleRow(3);
    usage.erase(usage.find_last_not_of(' ') + 1);
    example.erase(example.find_last_not_of(' ') + 1);
    // The screen cannot show a trailing blank; compare without it.
    std::string expected = ("Usage: " + path + UsageTail).substr(0, 255);
    expected.erase(expected.find_last_not_of(' ') + 1);
    EXPECT_EQ(usage, expected) << c.pathLength;
    EXPECT_EQ(example.size(), c.exampleLength) << c.pathLength;
  }
}

TEST(MainProgram, OnlyTheExactWordDirartSelectsDirart) {
  const struct {
    const char* third;
    bool selected;
  } cases[] = {{"dirart", true},  {"normal", false}, {"DIRART", false}, {"Dirart", false},
               {"dirart2", false}, {"dirart ", false}, {"", false},     {" dirart", false}};
  for (const auto& c : cases) {
    int32_t status = RunWith("cg", {"in.bmp", "out.bin", c.third, "56"});
    EXPECT_EQ(dirartMode, c.selected) << c.third;
    EXPECT_EQ(MemoryConsoleWindowRow(0), Banner);
    EXPECT_EQ(MemoryConsoleWindowRow(1) == "*** dirart selected, not using reverse characters",
              c.selected)
        << c.third;
    EXPECT_NE(status, 1) << c.third;
  }
}

}  // namespace
