#pragma once
#include <cstdint>
#include <string>

// An in-memory console screen buffer with the Windows console's behaviour:
// a window rectangle inside a larger buffer, a cursor that only moves when it
// is set, attributes per cell, scrolling that loses the window's top row.
// Linked into tests in place of the platform console.

struct MemoryConsoleSetup {
  int32_t bufferWidth = 120, bufferHeight = 60;
  // 0-based, inclusive
  int32_t windowLeft = 0, windowTop = 0, windowRight = 119, windowBottom = 59;
  int32_t cursorX = 0, cursorY = 0;
  uint16_t attributes = 0x1E;
};

// Resets the buffer to blanks in the setup's attribute, then starts the file
// services and the console on it. The short form: a window of columns x rows
// that fills the buffer, the cursor at its top left.
void StartMemoryConsole(const MemoryConsoleSetup& setup);
void StartMemoryConsole(int32_t columns, int32_t rows);

std::string MemoryConsoleRow(int32_t y);          // a whole buffer row
std::string MemoryConsoleWindowRow(int32_t row);  // a window row, 0-based, trailing blanks cut
// The window's rows joined by '\n', trailing empty rows cut.
std::string MemoryConsoleWindowText();
uint8_t MemoryConsoleAttribute(int32_t x, int32_t y);
int32_t MemoryConsoleCursorX();
int32_t MemoryConsoleCursorY();
int MemoryConsoleDrawCount();  // completed draws
int MemoryConsoleScrollCount();
