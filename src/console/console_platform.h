#pragma once
#include <cstdint>

// The console primitives that drawing is built on, one implementation per
// platform (console_win32.cpp, console_posix.cpp) and an in-memory screen
// buffer for tests. Positions are 0-based screen-buffer cells.

struct ConsoleScreenInfo {
  int32_t windowLeft;
  int32_t windowTop;
  int32_t windowRight;   // inclusive
  int32_t windowBottom;  // inclusive
  int32_t cursorX;
  int32_t cursorY;
  uint16_t attributes;
};

// Runs once before the window is captured.
void PlatformStartConsole();

// Fills info and returns true when standard output is a console; otherwise
// leaves info all zero and returns false.
bool PlatformQueryScreenInfo(ConsoleScreenInfo& info);

// Bracket one draw: the console reads 8-bit text in the ANSI code page while
// a draw lasts, and a terminal receives a whole draw at once.
void PlatformBeginDraw();
void PlatformEndDraw();

// Writes count characters from (x, y) on one row, each cell in attribute.
void PlatformWriteCells(int32_t x, int32_t y, const uint8_t* characters, uint32_t count,
                        uint8_t attribute);

// Moves the rows below the window's top row up by one inside the window; the
// top row is lost and the bottom row becomes blank in attribute.
void PlatformScrollWindowUp(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            uint8_t attribute);

void PlatformSetCursor(int32_t x, int32_t y);
