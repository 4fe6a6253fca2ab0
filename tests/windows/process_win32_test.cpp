// The end of the process and the failure report on Windows: the call chain
// from RtlCaptureStackBackTrace, the exit status from ExitProcess, the report
// on standard error with CR LF line ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "files/process_platform.h"

namespace {

[[gnu::noinline]] int CaptureFromHere(uintptr_t* chain, int capacity, uintptr_t* returnAddress) {
  *returnAddress = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
  return PlatformCaptureCallChain(chain, capacity);
}

TEST(ProcessOnWindows, CallChainHoldsTheCallersReturnLocation) {
  uintptr_t chain[64] = {};
  uintptr_t returnAddress = 0;
  int count = CaptureFromHere(chain, 64, &returnAddress);
  ASSERT_GT(count, 2);
  ASSERT_LE(count, 64);
  bool found = false;
  for (int i = 0; i < count; ++i) found = found || chain[i] == returnAddress;
  EXPECT_TRUE(found) << "the location this test's body returns to is part of the chain";
}

TEST(ProcessOnWindows, CallChainKeepsToTheCapacity) {
  uintptr_t chain[8] = {};
  uintptr_t returnAddress = 0;
  EXPECT_EQ(CaptureFromHere(chain, 0, &returnAddress), 0);
  EXPECT_EQ(CaptureFromHere(chain, 3, &returnAddress), 3);
  EXPECT_EQ(chain[3], 0u) << "nothing written past the capacity";
}

std::vector<std::string> CrLfLines(const std::string& text, bool& onlyCrLf) {
  std::vector<std::string> lines;
  onlyCrLf = true;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      onlyCrLf = false;
      break;
    }
    if (end == at || text[end - 1] != '\r') onlyCrLf = false;
    lines.push_back(text.substr(at, end - at - (end > at && text[end - 1] == '\r' ? 1 : 0)));
    at = end + 1;
  }
  return lines;
}

TEST(ProcessOnWindows, AFailedOpenEndsWithTheReportAndTheNumber) {
  std::string program = ProgramBesideThisOne("open_input.exe");
  ChildRun run = RunChild(program, "open_input \"no such folder\\input.bmp\"");
  ASSERT_TRUE(run.started) << program;
  EXPECT_EQ(run.exitStatus, 3u) << "path not found";
  EXPECT_EQ(run.output, "") << "nothing reaches a redirected standard output";

  bool onlyCrLf = false;
  std::vector<std::string> lines = CrLfLines(run.errors, onlyCrLf);
  EXPECT_TRUE(onlyCrLf) << "every line ends with CR LF";
  ASSERT_GE(lines.size(), 4u) << run.errors;
  std::smatch first;
  ASSERT_TRUE(std::regex_match(lines[0], first, std::regex("Runtime error 3 at \\$([0-9A-F]{16})")))
      << lines[0];
  EXPECT_EQ(lines[1], "  $" + first[1].str()) << "the location line repeats the location";
  size_t callers = lines.size() - 3;
  EXPECT_GE(callers, 1u) << "at least the start-up code that called the main program";
  EXPECT_LE(callers, 9u);
  for (size_t i = 2; i + 1 < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex("  \\$[0-9A-F]{16}"))) << lines[i];
  EXPECT_EQ(lines.back(), "") << "the report ends with an empty line";
}

TEST(ProcessOnWindows, ASuccessfulRunEndsWithStatusZeroAndNoReport) {
  std::string program = ProgramBesideThisOne("open_input.exe");
  ChildRun run = RunChild(program, "open_input \"" + program + "\"");
  ASSERT_TRUE(run.started) << program;
  EXPECT_EQ(run.exitStatus, 0u);
  EXPECT_EQ(run.errors, "");
}

}  // namespace
