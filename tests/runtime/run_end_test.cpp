// How the process ends: the exit status and the failure report on standard
// error, seen from outside in child processes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "console/console_lines.h"
#include "files/binary_file.h"
#include "memory_console.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

__attribute__((noinline)) void FailInARoutine(uint16_t number) {
  pendingIoError = number;
  CheckIo();
  ShowLine("not reached");
}

TEST(RunEnd, CheckIoEndsWithTheNumberAndAReport) {
  for (uint16_t number : {2, 5, 101, 131, 162}) {
    ChildResult child = RunInChild([number] {
      StartMemoryConsole(80, 25);
      FailInARoutine(number);
    });
    EXPECT_EQ(child.exitStatus, number);
    std::vector<std::string> lines = Lines(child.standardError);
    ASSERT_GE(lines.size(), 4u) << child.standardError;
    std::smatch first;
    ASSERT_TRUE(std::regex_match(lines[0], first,
                                 std::regex("Runtime error ([0-9]+) at \\$([0-9A-F]{16})")))
        << lines[0];
    EXPECT_EQ(first[1].str(), std::to_string(number));
    EXPECT_EQ(lines[1], "  $" + first[2].str());
    const std::regex callerLine("  \\$[0-9A-F]{16}");
    size_t callers = lines.size() - 3;
    EXPECT_GE(callers, 1u);
    EXPECT_LE(callers, 9u);
    for (size_t i = 2; i + 1 < lines.size(); ++i)
      EXPECT_TRUE(std::regex_match(lines[i], callerLine)) << lines[i];
    EXPECT_EQ(lines.back(), "");
  }
}

// Endings that write nothing to standard error, whatever their status.
TEST(RunEnd, QuietEndings) {
  const struct {
    const char* name;
    void (*body)();
    int exitStatus;
  } cases[] = {
      {"nothing pending: CheckIo returns", [] { CheckIo(); EndRun(0); }, 0},
      {"EndRun prints nothing more", [] { EndRun(1); }, 1},
      {"a closed standard error loses the report, not the status",
       [] {
         ::close(STDERR_FILENO);
         FailInARoutine(2);
       },
       2},
  };
  for (const auto& c : cases) {
    ChildResult child = RunInChild([&c] {
      StartMemoryConsole(80, 25);
      c.body();
    });
    EXPECT_EQ(child.exitStatus, c.exitStatus) << c.name;
    EXPECT_EQ(child.standardError, "") << c.name;
  }
}

TEST(RunEnd, AFailedOpenEndsAtTheFollowingCheck) {
  ChildResult child = RunInChild([] {
    StartMemoryConsole(80, 25);
    BinaryFile file;
    BindFileName(file, "/nonexistent-folder-for-cellglyph/x.bmp");
    OpenExistingFile(file);
    CheckIo();
    EndRun(0);
  });
  EXPECT_EQ(child.exitStatus, 3);
  EXPECT_EQ(child.standardError.rfind("Runtime error 3 at $", 0), 0u) << child.standardError;
}

}  // namespace
