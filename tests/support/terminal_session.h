#pragma once
#include <string>
#include <vector>

// Runs a program in a pseudo-terminal of a given size and reads what it
// showed through a real terminal emulator, as a user would see it.
struct TerminalOptions {
  int columns = 80;
  int rows = 25;
  std::string workingFolder;      // empty: the test's own
  std::string before;             // fed to the terminal before the program starts
  bool answerCursorQuery = true;  // a terminal that never answers when false
  std::string standardInput;      // empty: the terminal itself
  std::string typedAhead;         // keys typed as soon as the program is started
};

struct TerminalScreen {
  int exitStatus = -1;             // -1 when the program did not exit normally
  std::vector<std::string> rows;   // UTF-8, trailing blanks cut
  std::vector<std::string> scrolledOff;  // lines pushed into the scroll-back, oldest first
  int cursorRow = 0;
  int cursorColumn = 0;
  bool defaultColoursOnly = true;  // no cell was drawn in another colour or style
  std::string output;              // every byte the program sent
};

TerminalScreen RunInTerminal(const std::vector<std::string>& command,
                             const TerminalOptions& options);

// Everything the screen shows, scroll-back first, one line per row, with the
// empty rows at the end cut.
std::string ScreenText(const TerminalScreen& screen);
