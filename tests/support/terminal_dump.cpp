// terminal_dump: runs a command in a pseudo-terminal of a given size, read
// through a terminal emulator with the cursor starting at the top-left, and
// prints what the screen shows in the form of the Windows console probe's
// capture, so that the two can be compared line by line.
//
//   terminal_dump COLUMNS ROWS [-C FOLDER] PROGRAM [ARGUMENT...]
//
// Prints "exit N", "window COLUMNS ROWS", "cursor X Y", "screen" and the
// rows, trailing blanks and empty rows cut. As in the probe's capture, bytes
// below 32, 123 ({) and 127 are written {XX}; characters beyond ASCII are
// left in UTF-8 and so never equal the probe's form of a byte.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "terminal_session.h"

namespace {

std::string EncodeRow(const std::string& row) {
  static const char hex[] = "0123456789ABCDEF";
  std::string text;
  for (char byte : row) {
    unsigned char c = static_cast<unsigned char>(byte);
    if (c < 32 || c == '{' || c == 127) {
      text += '{';
      text += hex[c >> 4];
      text += hex[c & 15];
      text += '}';
    } else {
      text += byte;
    }
  }
  return text;
}

bool ReadSize(const char* text, int& value) {
  char* end = nullptr;
  long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || number < 1 || number > 1000) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TerminalOptions options;
  int next = 3;
  if (argc > 4 && std::string(argv[3]) == "-C") {
    options.workingFolder = argv[4];
    next = 5;
  }
  if (argc <= next || !ReadSize(argv[1], options.columns) || !ReadSize(argv[2], options.rows)) {
    std::fprintf(stderr, "usage: terminal_dump COLUMNS ROWS [-C FOLDER] PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  std::vector<std::string> command(argv + next, argv + argc);
  TerminalScreen screen = RunInTerminal(command, options);

  std::vector<std::string> rows = screen.rows;
  while (!rows.empty() && rows.back().empty()) rows.pop_back();
  std::printf("exit %d\nwindow %d %d\ncursor %d %d\nscreen\n", screen.exitStatus, options.columns,
              options.rows, screen.cursorColumn, screen.cursorRow);
  for (const std::string& row : rows) std::printf("%s\n", EncodeRow(row).c_str());
  return 0;
}
