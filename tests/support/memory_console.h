#pragma once
#include <cstdint>
#include <string>

// An in-memory console screen buffer with the Windows console's behaviour:
// a window rectangle inside a larger buffer, a cursor that only moves when it
// is set, attributes per cell, scrolling that loses the window's top row.
// Linked into tests in place of the platform console.

struct MemoryConsoleSetup {
  int32_t bufferWidth = 120;
  int32_t bufferHeight = 60;
  int32_t windowLeft = 0;  // 0-based, inclusive
  int32_t windowTop = 0;
  int32_t windowRight = 119;
  int32_t windowBottom = 59;
  int32_t cursorX = 0;
  int32_t cursorY = 0;
  uint16_t attributes = 0x1E;
  bool redirected = false;  // standard output is not a console
};

// Resets the buffer to spaces in the setup's attribute.
void ResetMemoryConsole(const MemoryConsoleSetup& setup);

// A window of columns x rows at the buffer's top left, cursor at its corner,
// then the file services and the console started on it.
void StartMemoryConsole(int32_t columns, int32_t rows);
void StartMemoryConsole(const MemoryConsoleSetup& setup);

std::string MemoryConsoleRow(int32_t y);            // a whole buffer row
std::string MemoryConsoleWindowRow(int32_t row);    // a window row, 0-based, trailing blanks cut
std::string MemoryConsoleWindowText();              // all window rows joined by '\n', trailing empty rows cut
uint8_t MemoryConsoleAttribute(int32_t x, int32_t y);
char MemoryConsoleCharacter(int32_t x, int32_t y);
int32_t MemoryConsoleCursorX();
int32_t MemoryConsoleCursorY();
int MemoryConsoleDrawCount();  // completed draws
int MemoryConsoleScrollCount();
