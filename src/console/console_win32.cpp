// The console on Windows: the screen buffer behind standard output, addressed
// cell by cell. Every call may fail (standard output redirected to a file or
// a pipe, no console at all); failures are ignored and the zero-filled
// records stay as they are.
#include <windows.h>

#include "console/console_platform.h"

namespace {

constexpr uint32_t MaxCellsPerCall = 256;

// A draw switches the console's output code page and switches it back
// afterwards. Ctrl+C, Ctrl+Break or closing the window ends the process on a
// thread the system starts for the event, possibly between the two; the
// code page belongs to the console, not the process, and would stay
// switched for whatever runs in that console next.
// Invariant: while codePageSwitched is true the console reads the ANSI code
// page and codePageBeforeDraw holds the one to give back. Both change only
// under codePageLock, together with the console's code page, so the event's
// thread never restores a stale value or misses a switch.
// After an event no draw switches again: the process is about to end.
SRWLOCK codePageLock = SRWLOCK_INIT;
UINT codePageBeforeDraw = 0;
bool codePageSwitched = false;
bool endingOnEvent = false;

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

// Every control event ends the process once this returns: FALSE hands the
// event on to the system's default handling.
BOOL WINAPI RestoreCodePageOnEvent(DWORD) {
  AcquireSRWLockExclusive(&codePageLock);
  if (codePageSwitched) SetConsoleOutputCP(codePageBeforeDraw);
  codePageSwitched = false;
  endingOnEvent = true;
  ReleaseSRWLockExclusive(&codePageLock);
  return FALSE;
}

}  // namespace

void PlatformStartConsole() {
  // The cursor's shape is not changed by drawing; it is only looked at.
  CONSOLE_CURSOR_INFO cursor = {};
  GetConsoleCursorInfo(ConsoleHandle(), &cursor);
  SetConsoleCtrlHandler(RestoreCodePageOnEvent, TRUE);
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
  AcquireSRWLockExclusive(&codePageLock);
  if (!endingOnEvent) {
    codePageBeforeDraw = GetConsoleOutputCP();
    codePageSwitched = SetConsoleOutputCP(GetACP()) != 0;
  }
  ReleaseSRWLockExclusive(&codePageLock);
}

void PlatformEndDraw() {
  AcquireSRWLockExclusive(&codePageLock);
  if (codePageSwitched) SetConsoleOutputCP(codePageBeforeDraw);
  codePageSwitched = false;
  ReleaseSRWLockExclusive(&codePageLock);
}

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
