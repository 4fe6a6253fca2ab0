// The real program in a real terminal: what a user sees, where the cursor is
// left, and that nothing the program prints can steer the terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "temp_folder.h"
#include "terminal_session.h"

namespace {

const std::string Program = CELLGLYPH_PROGRAM;
const char Banner[] = "cellglyph v0.2 [07.02.2017] *** by Tamblin";
const char Description[] =
    "Description: Reads a black/white (1bit/pixel) 320x200 pixel bmp and converts it to a PETSCII "
    "binary.";
const char UsageTail[] =
    " <inname.bmp> <outname.bin> <\"dirart\" for dirart, limited charset> <samebit limit 0-64>";

std::string UsageText(const std::string& program) {
  return std::string(Banner) + "\n" + Description + "\nUsage: " + program + UsageTail +
         "\nExample: " + program + " bob.bmp bob.bin normal 56";
}

TEST(Terminal, TheUsageTextOnAWideTerminal) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"a", "b", "c"}, {"a", "b", "c", "d", "e"}}) {
    std::vector<std::string> command = {Program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    TerminalOptions options;
    options.columns = 250;
    options.rows = 30;
    TerminalScreen screen = RunInTerminal(command, options);
    EXPECT_EQ(screen.exitStatus, 1);
    EXPECT_EQ(ScreenText(screen), UsageText(Program));
    EXPECT_EQ(screen.cursorRow, 4);  // after the last line, at the left
    EXPECT_EQ(screen.cursorColumn, 0);
    EXPECT_TRUE(screen.defaultColoursOnly);
  }
}

// Lines longer than the terminal wrap at its right column.
TEST(Terminal, TheUsageTextWrapsOnAnEightyColumnTerminal) {
  TerminalOptions options;
  options.columns = 80;
  options.rows = 24;
  options.before = "$ cellglyph\r\n";
  TerminalScreen screen = RunInTerminal({Program}, options);
  EXPECT_EQ(screen.exitStatus, 1);
  ASSERT_GE(screen.rows.size(), 4u);
  EXPECT_EQ(screen.rows[0], "$ cellglyph");
  EXPECT_EQ(screen.rows[1], Banner);
  EXPECT_EQ(screen.rows[2] + " ", std::string(Description).substr(0, 80));
  EXPECT_EQ(screen.rows[3], std::string(Description).substr(80));
}

TEST(Terminal, OutputAtTheBottomScrollsIntoTheScrollBack) {
  TerminalOptions options;
  options.columns = 200;
  options.rows = 6;
  for (int i = 0; i < 5; ++i) options.before += "earlier line " + std::to_string(i) + "\r\n";
  TerminalScreen screen = RunInTerminal({Program}, options);
  EXPECT_EQ(screen.exitStatus, 1);
  std::string expected;
  for (int i = 0; i < 5; ++i) expected += "earlier line " + std::to_string(i) + "\n";
  EXPECT_EQ(ScreenText(screen), expected + UsageText(Program));
  EXPECT_EQ(screen.rows.back(), "");
  EXPECT_EQ(screen.cursorRow, 5);
  EXPECT_FALSE(screen.scrolledOff.empty());
}

TEST(Terminal, ATerminalThatNeverAnswersStillGetsTheTextInOrder) {
  TerminalOptions options;
  options.columns = 250;
  options.rows = 10;
  options.answerCursorQuery = false;
  options.before = "prompt$ ";  // the program cannot know it is not at the left
  TerminalScreen screen = RunInTerminal({Program}, options);
  EXPECT_EQ(screen.exitStatus, 1);
  EXPECT_NE(ScreenText(screen).find(UsageText(Program)), std::string::npos) << ScreenText(screen);
}

// A folder name holding an escape sequence reaches the screen as text: each
// byte one visible cell, no colour change, nothing carried out.
TEST(Terminal, EscapeBytesInTheProgramPathAreShownNotObeyed) {
  TempFolder folder;
  std::string hostile = folder.Path("bin\x1b[31mred\x07\x1b]0;title\x07\tx");
  std::filesystem::create_directory(hostile);
  std::string copy = hostile + "/cellglyph";
  std::filesystem::copy_file(Program, copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_all);

  TerminalOptions options;
  options.columns = 300;
  options.rows = 10;
  TerminalScreen screen = RunInTerminal({copy}, options);
  EXPECT_EQ(screen.exitStatus, 1);
  EXPECT_TRUE(screen.defaultColoursOnly);
  std::string shownPath =
      folder.root + "/bin\u241B[31mred\u241B]0;title\u2409x/cellglyph";  // a bell is silent
  ASSERT_GE(screen.rows.size(), 4u);
  EXPECT_EQ(screen.rows[2], "Usage: " + shownPath + UsageTail);
  EXPECT_EQ(screen.output.find('\x07'), std::string::npos);
  EXPECT_EQ(screen.output.find("\x1b]"), std::string::npos);
  EXPECT_EQ(screen.output.find("\x1b[31m"), std::string::npos);
}

TEST(Terminal, ARedirectedOutputStaysEmpty) {
  TempFolder folder;
  std::string outputPath = folder.Path("out.txt");
  pid_t child = ::fork();
  if (child == 0) {
    int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::execl(Program.c_str(), Program.c_str(), "only-one", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadWholeFile(outputPath), "");
}

}  // namespace
