// The console on Windows: the screen buffer behind standard output, addressed
// cell by cell. Every call may fail (standard output redirected to a file or
// a pipe, no console at all); failures are ignored and the zero-filled
// records stay as they are.
#include <windows.h>

#include "console/console_platform.h"

namespace {

constexpr uint32_t MaxCellsPerCall = 256;

UINT codePageBeforeDraw = 0;

// Asked for on every call: the standard output handle may change while the
// program runs.
HANDLE ConsoleHandle() { return GetStdHandle(STD_OUTPUT_HANDLE); }

COORD Cell(int32_t x, int32_t y) {
  COORD cell;
  cell.X = static_cast<SHORT>(x);
  cell.Y = static_cast<SHORT>(y);
  return cell;
}

SMALL_RECT Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  SMALL_RECT rectangle;
  rectangle.Left = static_cast<SHORT>(left);
  rectangle.Top = static_cast<SHORT>(top);
  rectangle.Right = static_cast<SHORT>(right);
  rectangle.Bottom = static_cast<SHORT>(bottom);
  return rectangle;
}

}  // namespace

void PlatformStartConsole() {
  // The cursor's shape is not changed by drawing; it is only looked at.
  CONSOLE_CURSOR_INFO cursor = {};
  GetConsoleCursorInfo(ConsoleHandle(), &cursor);
}

bool PlatformQueryScreenInfo(ConsoleScreenInfo& info) {
  info = ConsoleScreenInfo{};
  CONSOLE_SCREEN_BUFFER_INFO screen = {};
  if (!GetConsoleScreenBufferInfo(ConsoleHandle(), &screen)) return false;
  info.windowLeft = screen.srWindow.Left;
  info.windowTop = screen.srWindow.Top;
  info.windowRight = screen.srWindow.Right;
  info.windowBottom = screen.srWindow.Bottom;
  info.cursorX = screen.dwCursorPosition.X;
  info.cursorY = screen.dwCursorPosition.Y;
  info.attributes = screen.wAttributes;
  return true;
}

void PlatformBeginDraw() {
  // The program's texts are 8-bit characters of the ANSI code page; the
  // console shows them right only while it reads that code page.
  codePageBeforeDraw = GetConsoleOutputCP();
  SetConsoleOutputCP(GetACP());
}

void PlatformEndDraw() { SetConsoleOutputCP(codePageBeforeDraw); }

void PlatformWriteCells(int32_t x, int32_t y, const uint8_t* characters, uint32_t count,
                        uint8_t attribute) {
  HANDLE console = ConsoleHandle();
  WORD attributes[MaxCellsPerCall];
  while (count > 0) {
    uint32_t piece = count < MaxCellsPerCall ? count : MaxCellsPerCall;
    for (uint32_t i = 0; i < piece; ++i) attributes[i] = attribute;
    DWORD done = 0;
    WriteConsoleOutputCharacterA(console, reinterpret_cast<const char*>(characters), piece,
                                 Cell(x, y), &done);
    WriteConsoleOutputAttribute(console, attributes, piece, Cell(x, y), &done);
    characters += piece;
    count -= piece;
    x += static_cast<int32_t>(piece);
  }
}

void PlatformScrollWindowUp(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            uint8_t attribute) {
  // Only the window moves: the rows below its top row go up by one, the top
  // row is lost instead of entering the scroll-back, and the bottom row is
  // filled with blanks.
  SMALL_RECT source = Rectangle(left, top + 1, right, bottom);
  SMALL_RECT clip = Rectangle(left, top, right, bottom);
  CHAR_INFO fill = {};
  fill.Char.AsciiChar = ' ';
  fill.Attributes = attribute;
  ScrollConsoleScreenBufferA(ConsoleHandle(), &source, &clip, Cell(left, top), &fill);
}

void PlatformSetCursor(int32_t x, int32_t y) {
  SetConsoleCursorPosition(ConsoleHandle(), Cell(x, y));
}
