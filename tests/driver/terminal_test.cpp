// The real program in a real terminal: what a user sees, where the cursor is
// left, and that nothing the program prints can steer the terminal.
#include <gtest/gtest.h>


#include <filesystem>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "program_texts.h"
#include "temp_folder.h"
#include "terminal_session.h"

namespace {

const std::string Program = CELLGLYPH_PROGRAM;
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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The lines of a whole run, from the row where the run started.
std::vector<std::string> ConvertSample(int columns, int rows, const std::string& folder,
                                       int startRow = 0) {
  TerminalOptions options;
  options.columns = columns;
  options.rows = rows;
  options.before = std::string(static_cast<size_t>(startRow), '\n');
  options.workingFolder = folder;
  std::filesystem::copy_file(CELLGLYPH_SAMPLE, folder + "/sample.bmp",
                             std::filesystem::copy_options::overwrite_existing);
  TerminalScreen screen = RunInTerminal({Program, "sample.bmp", "sample.bin", "normal", "56"}, options);
  EXPECT_EQ(screen.exitStatus, 0);
  EXPECT_TRUE(screen.defaultColoursOnly);
  std::vector<std::string> lines = Lines(ScreenText(screen));
  lines.erase(lines.begin(), lines.begin() + startRow);
  return lines;
}

// Keys typed while the program runs belong to whatever reads the terminal
// next: the program never reads the terminal, nor asks it anything whose
// answer could arrive on its input.
TEST(Terminal, KeysTypedDuringARunAreLeftForTheNextReader) {
  TempFolder folder;
  std::filesystem::copy_file(CELLGLYPH_SAMPLE, folder.Path("sample.bmp"));
  TerminalOptions options;
  options.columns = 120;
  options.rows = 60;
  options.workingFolder = folder.root;
  options.typedAhead = "echo TYPED\r";
  TerminalScreen screen = RunInTerminal(
      {"/bin/sh", "-c", "\"$0\" sample.bmp sample.bin normal 56; echo \"left:$(timeout --foreground 2 head -n 1)\"",
       Program},
      options);
  EXPECT_NE(ScreenText(screen).find("\nleft:echo TYPED"), std::string::npos) << ScreenText(screen);
  EXPECT_EQ(screen.output.find("\x1b[6n"), std::string::npos);
}

TEST(Terminal, ACompleteRunShowsEveryLineInOrder) {
  TempFolder folder;
  std::vector<std::string> lines = ConvertSample(120, 60, folder.root);
  // Rows past 255 are rows like any other: the report's columns stay on
  // the row being written.
  EXPECT_EQ(ConvertSample(120, 300, folder.root, 258), lines);
  std::vector<std::string> run = LinesBeforeReport("sample.bmp", "sample.bin");
  run.push_back("---------samebits overview-(0-63)-----------");
  run.push_back(
      " samebits:  0-3   4-7   8-11  12-15 16-19 20-23 24-27 28-31 32-35 36-39 40-43 44-47 "
      "48-51 52-55 56-59 60-63");
  ASSERT_EQ(lines.size(), 9u + 36u + 1u);  // the report's last line is empty, "done." follows
  for (size_t i = 0; i < run.size(); ++i) EXPECT_EQ(lines[i], run[i]) << i;
  EXPECT_EQ(lines[9 + 5], "-------big differences (samebits<56)--------");
  EXPECT_EQ(lines[9 + 6], "  0000000000111111111122222222223333333333");
  EXPECT_EQ(lines[9 + 7], "  0123456789012345678901234567890123456789");
  for (int row = 0; row < 25; ++row) {
    char number[4];
    std::snprintf(number, sizeof number, "%2d", row);
    EXPECT_EQ(lines[9 + 8 + row].size(), 44u);
    EXPECT_EQ(lines[9 + 8 + row].substr(0, 2), number);
    EXPECT_EQ(lines[9 + 8 + row].substr(42), number);
  }
  EXPECT_EQ(lines.back(), "done.");
  EXPECT_EQ(ReadWholeFile(folder.Path("sample.bin")).size(), 1000u);
}

// UTF-8 names: one whose characters all exist in code page 1252 is shown as
// itself and its length counted in characters; any other is shown byte by
// byte, as each byte's code page 1252 character. Each opens its own file.
TEST(Terminal, Utf8NamesAreShownAsTheirCharacters) {
  TempFolder folder;
  const std::string ae = "\u00E4";
  std::string deep;  // 255 characters, 504 bytes, in folders the system allows
  for (int i = 0; i < 2; ++i) {
    deep += std::string(100 - 1, 'd').replace(0, 0, ae) + "/";
    std::filesystem::create_directory(folder.Path(deep));
  }
  deep += std::string(53 - 1, 'f').replace(0, 0, ae);
  deep.replace(deep.size() - 4, 4, ".bmp");
  const struct {
    std::string name;
    std::string shown;
    int exitStatus;
  } cases[] = {
      {"my pic " + ae + ".bmp", "my pic " + ae + ".bmp", 0},
      {"\u20AC \u0178.bmp", "\u20AC \u0178.bmp", 0},
      {"\u65E5.bmp", "\u00E6\u2014\u00A5.bmp", 0},  // the bytes E6 97 A5
      {deep, deep, 0},
      {deep + "x", deep.substr(0, deep.size() - 1), 3},  // 256: refused, first 255 shown
  };
  for (const auto& c : cases) {
    std::filesystem::copy_file(CELLGLYPH_SAMPLE, folder.Path(c.name));
    TerminalOptions options;
    options.columns = 300;
    options.rows = 40;
    options.workingFolder = folder.root;
    TerminalScreen screen = RunInTerminal({Program, c.name, "out.bin", "normal", "56"}, options);
    EXPECT_EQ(screen.exitStatus, c.exitStatus) << c.name;
    std::vector<std::string> lines = Lines(ScreenText(screen));
    ASSERT_GE(lines.size(), 2u);
    // A composed line keeps its first 255 characters.
    std::string expected = "Opening file \"" + c.shown + "\" for reading...";
    size_t characters = 0, at = 0;
    for (; at < expected.size() && characters <= 255; ++at)
      if ((expected[at] & 0xC0) != 0x80) ++characters;
    if (characters > 255) expected.resize(at - 1);
    EXPECT_EQ(lines[1], expected);
  }
}

// On 80 columns the range and count lines wrap; the moves for ranges 12 to
// 15 fall outside the window and the pieces close up. The window scrolls and
// what leaves it stays in the terminal's scroll-back.
TEST(Terminal, OnEightyByTwentyFiveTheReportWrapsAndScrolls) {
  TempFolder folder;
  std::vector<std::string> wide = ConvertSample(120, 60, folder.root);
  std::vector<std::string> narrow = ConvertSample(80, 25, folder.root);
  const std::string& rangeLine = wide[10];
  const std::string& countLine = wide[11];

  std::string closedCounts = countLine.substr(80, 2);  // the end of range 11's counter
  std::istringstream counts(countLine.substr(11));
  std::vector<int> values;
  for (int value; counts >> value;) values.push_back(value);
  ASSERT_EQ(values.size(), 16u);
  for (int k = 12; k < 16; ++k) {
    char piece[8];
    std::snprintf(piece, sizeof piece, "%3d ", values[static_cast<size_t>(k)]);
    closedCounts += piece;
  }
  closedCounts.erase(closedCounts.find_last_not_of(' ') + 1);

  std::vector<std::string> expected(wide.begin(), wide.begin() + 10);
  expected.push_back(rangeLine.substr(0, 80));
  expected.push_back(rangeLine.substr(80));  // ranges 12 on take six columns each anyway
  expected.push_back(countLine.substr(0, 80));
  expected.push_back(closedCounts);
  expected.insert(expected.end(), wide.begin() + 12, wide.end());
  EXPECT_EQ(narrow, expected);
}

}  // namespace
