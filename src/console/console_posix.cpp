// The console on a Linux or macOS terminal. The terminal is a stream, not a
// screen buffer we can address, so this layer tracks where the terminal's
// cursor is and reaches every cell with relative moves from there: rows are
// advanced with line feeds, so the terminal scrolls by itself at its bottom
// row and what scrolls off stays in its scroll-back. A whole draw goes out in
// one write.
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

#include "console/console_platform.h"
#include "console/terminal_text.h"

namespace {

struct Terminal {
  bool present;        // standard output is a terminal
  int32_t columns;
  int32_t rows;
  int32_t cursorX;     // where the console's cursor is, as drawing sees it
  int32_t cursorY;
  int32_t outputX;     // where the terminal's own cursor is
  int32_t outputY;
  bool columnUnknown;  // after the last column, or before anything is known
  bool drawing;
};

Terminal terminal;

constexpr int OutputCapacity = 16384;
char output[OutputCapacity];
int outputLength = 0;

void FlushOutput() {
  int sent = 0;
  while (sent < outputLength) {
    ssize_t n = ::write(STDOUT_FILENO, output + sent, static_cast<size_t>(outputLength - sent));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // console failures are ignored
    sent += static_cast<int>(n);
  }
  outputLength = 0;
}

void Emit(const char* bytes, int count) {
  if (outputLength + count > OutputCapacity) FlushOutput();
  std::memcpy(output + outputLength, bytes, static_cast<size_t>(count));
  outputLength += count;
}

void EmitMove(int32_t distance, char direction) {
  char sequence[16] = {'\x1b', '['};
  int length = 2;
  char digits[12];
  int digitCount = 0;
  do {
    digits[digitCount++] = static_cast<char>('0' + distance % 10);
    distance /= 10;
  } while (distance > 0);
  while (digitCount > 0) sequence[length++] = digits[--digitCount];
  sequence[length++] = direction;
  Emit(sequence, length);
}

// Brings the terminal's cursor to (x, y) with moves relative to where it is.
void MoveOutputTo(int32_t x, int32_t y) {
  if (terminal.columnUnknown) {
    Emit("\r", 1);
    terminal.outputX = 0;
    terminal.columnUnknown = false;
  }
  if (y > terminal.outputY) {
    // A line feed may also return the carriage; start from the left column.
    if (terminal.outputX != 0) Emit("\r", 1);
    terminal.outputX = 0;
    for (int32_t i = terminal.outputY; i < y; ++i) Emit("\n", 1);
  } else if (y < terminal.outputY) {
    EmitMove(terminal.outputY - y, 'A');
  }
  terminal.outputY = y;
  if (x > terminal.outputX) {
    EmitMove(x - terminal.outputX, 'C');
  } else if (x < terminal.outputX) {
    if (x == 0)
      Emit("\r", 1);
    else
      EmitMove(terminal.outputX - x, 'D');
  }
  terminal.outputX = x;
}

void FinishOutsideDraw() {
  if (!terminal.drawing) FlushOutput();
}

}  // namespace

void PlatformStartConsole() {
  terminal = Terminal{};
  terminal.present = ::isatty(STDOUT_FILENO) == 1;
  if (!terminal.present) return;
  struct winsize size = {};
  terminal.columns = 80;
  terminal.rows = 24;
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
    terminal.columns = size.ws_col;
    terminal.rows = size.ws_row;
  }
  // The terminal is never asked where its cursor is: an answer arrives on
  // the terminal's input, where it would mix with what the user typed ahead
  // and could come after the program has ended. So drawing starts on a fresh
  // line at the bottom, where a shell's prompt usually is; every move is
  // relative, so the text comes out in order wherever the cursor really is
  // (contract: terminal never read, 1-based window, see docs/design.md).
  terminal.cursorX = 0;
  terminal.cursorY = terminal.rows - 1;
  terminal.columnUnknown = true;
  terminal.outputX = terminal.cursorX;
  terminal.outputY = terminal.cursorY;
}

bool PlatformQueryScreenInfo(ConsoleScreenInfo& info) {
  info = ConsoleScreenInfo{};
  if (!terminal.present) return false;
  info.windowRight = terminal.columns - 1;
  info.windowBottom = terminal.rows - 1;
  info.cursorX = terminal.cursorX;
  info.cursorY = terminal.cursorY;
  info.attributes = 0x07;
  return true;
}

void PlatformBeginDraw() { terminal.drawing = true; }

void PlatformEndDraw() {
  terminal.drawing = false;
  FlushOutput();
}

void PlatformWriteCells(int32_t x, int32_t y, const uint8_t* characters, uint32_t count,
                        uint8_t) {
  // Text keeps the terminal's own colours.
  if (!terminal.present || x < 0 || y < 0 || x >= terminal.columns || y >= terminal.rows) return;
  uint32_t room = static_cast<uint32_t>(terminal.columns - x);
  if (count > room) count = room;
  MoveOutputTo(x, y);
  for (uint32_t i = 0; i < count; ++i) {
    char encoded[4];
    int length = EncodeTerminalCell(characters[i], encoded);
    Emit(encoded, length);
  }
  terminal.outputX = x + static_cast<int32_t>(count);
  if (terminal.outputX >= terminal.columns) {
    terminal.outputX = terminal.columns - 1;
    terminal.columnUnknown = true;  // the terminal may be waiting to wrap
  }
  FinishOutsideDraw();
}

void PlatformScrollWindowUp(int32_t, int32_t, int32_t, int32_t bottom, uint8_t) {
  // The window is the whole terminal: a line feed on its bottom row scrolls it.
  if (!terminal.present) return;
  if (bottom >= terminal.rows) bottom = terminal.rows - 1;
  MoveOutputTo(0, bottom);
  Emit("\n", 1);
  FinishOutsideDraw();
}

void PlatformSetCursor(int32_t x, int32_t y) {
  if (!terminal.present || x < 0 || y < 0 || x >= terminal.columns || y >= terminal.rows) return;
  terminal.cursorX = x;
  terminal.cursorY = y;
  MoveOutputTo(x, y);
  FinishOutsideDraw();
}
