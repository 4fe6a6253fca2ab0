#include "console/console_window.h"

#include "console/console_lines.h"
#include "console/console_platform.h"
#include "runtime/run_end.h"

ConsoleWindow consoleWindow;

namespace {

constexpr uint8_t Bell = 7;
constexpr uint8_t Backspace = 8;
constexpr uint8_t LineFeed = 10;
constexpr uint8_t CarriageReturn = 13;
constexpr uint32_t MaxRun = 255;

bool IsControlByte(uint8_t byte) {
  return byte == Bell || byte == Backspace || byte == LineFeed || byte == CarriageReturn;
}

// Loads the tracked cursor from the console's real cursor; a failed query
// leaves it at the first cell.
void LoadCursor() {
  ConsoleScreenInfo info{};
  PlatformQueryScreenInfo(info);
  consoleWindow.cursorColumn = static_cast<uint32_t>(info.cursorX) + 1;
  consoleWindow.cursorRow = static_cast<uint32_t>(info.cursorY) + 1;
}

// Hands on what consoleOutput still holds when the run ends.
void FlushConsoleOutput() {
  if (consoleOutput.state == ChannelState::Output && consoleOutput.fillCount > 0)
    consoleOutput.emptyBuffer(consoleOutput);
}

void ScrollWhileBelowWindow() {
  while (consoleWindow.cursorRow > consoleWindow.windowBottom) {
    ScrollWindowUp();
    --consoleWindow.cursorRow;
  }
}

// Draws a run of printable bytes from the tracked cursor, wrapping at the
// window's right column to its left one (contract: 1-based window, see
// docs/design.md). Cells of one row go to the console in one call.
void DrawRun(const uint8_t* bytes, uint32_t count) {
  ConsoleWindow& w = consoleWindow;
  while (count > 0) {
    uint32_t room = w.cursorColumn <= w.windowRight ? w.windowRight - w.cursorColumn + 1 : 1;
    uint32_t piece = count < room ? count : room;
    PlatformWriteCells(static_cast<int32_t>(w.cursorColumn) - 1,
                       static_cast<int32_t>(w.cursorRow) - 1, bytes, piece, w.textAttribute);
    bytes += piece;
    count -= piece;
    w.cursorColumn += piece;
    if (w.cursorColumn > w.windowRight) {
      w.cursorColumn = w.windowLeft;
      ++w.cursorRow;
      ScrollWhileBelowWindow();
    }
  }
}

void CarryOutControl(uint8_t byte) {
  ConsoleWindow& w = consoleWindow;
  switch (byte) {
    case Backspace:
      if (w.cursorColumn > w.windowLeft) --w.cursorColumn;
      break;
    case LineFeed:
      ++w.cursorRow;
      break;
    case CarriageReturn:
      w.cursorColumn = w.windowLeft;
      break;
    default:  // the bell makes no sound and moves nothing
      break;
  }
  if (w.cursorColumn > w.windowRight) {
    w.cursorColumn = w.windowLeft;
    ++w.cursorRow;
  }
  ScrollWhileBelowWindow();
}

}  // namespace

void DrawBuffer(TextChannel& channel) {
  PlatformBeginDraw();
  LoadCursor();
  uint32_t runStart = 0;
  uint32_t runLength = 0;
  for (uint32_t i = 0; i < channel.fillCount; ++i) {
    uint8_t byte = channel.buffer[i];
    if (IsControlByte(byte)) {
      DrawRun(channel.buffer + runStart, runLength);
      runLength = 0;
      CarryOutControl(byte);
      continue;
    }
    if (runLength == MaxRun) {
      DrawRun(channel.buffer + runStart, runLength);
      runLength = 0;
    }
    if (runLength == 0) runStart = i;
    ++runLength;
  }
  DrawRun(channel.buffer + runStart, runLength);
  PlatformSetCursor(static_cast<int32_t>(consoleWindow.cursorColumn) - 1,
                    static_cast<int32_t>(consoleWindow.cursorRow) - 1);
  PlatformEndDraw();
  channel.fillCount = 0;
}

void ScrollWindowUp() {
  const ConsoleWindow& w = consoleWindow;
  PlatformScrollWindowUp(static_cast<int32_t>(w.windowLeft) - 1,
                         static_cast<int32_t>(w.windowTop) - 1,
                         static_cast<int32_t>(w.windowRight) - 1,
                         static_cast<int32_t>(w.windowBottom) - 1, w.textAttribute);
}

uint16_t QueryCursorRow() {
  ConsoleScreenInfo info{};
  uint32_t row = PlatformQueryScreenInfo(info) ? static_cast<uint32_t>(info.cursorY) + 1 : 1;
  return static_cast<uint16_t>(row - consoleWindow.windowTop + 1);
}

void MoveCursor(uint8_t column, uint16_t row) {
  const ConsoleWindow& w = consoleWindow;
  if (column == 0 || column > w.windowRight - w.windowLeft + 1) return;
  if (row == 0 || row > w.windowBottom - w.windowTop + 1) return;
  PlatformSetCursor(static_cast<int32_t>(w.windowLeft + column) - 2,
                    static_cast<int32_t>(w.windowTop + row) - 2);
}

void StartConsole() {
  PlatformStartConsole();
  ConsoleScreenInfo info{};
  PlatformQueryScreenInfo(info);
  consoleWindow.windowLeft = static_cast<uint32_t>(info.windowLeft) + 1;
  consoleWindow.windowTop = static_cast<uint32_t>(info.windowTop) + 1;
  consoleWindow.windowRight = static_cast<uint32_t>(info.windowRight) + 1;
  consoleWindow.windowBottom = static_cast<uint32_t>(info.windowBottom) + 1;
  consoleWindow.textAttribute = static_cast<uint8_t>(info.attributes & 0xFF);
  consoleWindow.cursorColumn = 1;
  consoleWindow.cursorRow = 1;

  consoleOutput = TextChannel{};
  consoleOutput.state = ChannelState::Output;
  consoleOutput.lineEnd[0] = '\r';
  consoleOutput.lineEnd[1] = '\n';
  consoleOutput.lineEndLength = 2;
  consoleOutput.emptyBuffer = DrawBuffer;
  consoleOutput.endOfStatement = DrawBuffer;
  SetConsoleFlush(FlushConsoleOutput);
}
