#pragma once
#include <cstdint>

#include "runtime/text_channel.h"

// The console window as it was when the process started, and the cursor that
// drawing tracks inside it. Columns and rows are 1-based screen-buffer
// positions (contract: 1-based window, see docs/design.md).
struct ConsoleWindow {
  uint32_t windowLeft;
  uint32_t windowTop;
  uint32_t windowRight;
  uint32_t windowBottom;
  uint8_t textAttribute;
  uint32_t cursorColumn;
  uint32_t cursorRow;
};

extern ConsoleWindow consoleWindow;

// Captures the window, its attribute and cursor, and binds consoleOutput to
// the console. Nothing is drawn.
void StartConsole();

// The empty and end-of-statement operation of consoleOutput.
void DrawBuffer(TextChannel& channel);

void ScrollWindowUp();

// The cursor row relative to the window's top row, 1-based. Sixteen bits:
// windows taller than 255 rows exist, and a row cut to eight bits would
// send the cursor 256 rows up.
uint16_t QueryCursorRow();

// Moves the cursor to a 1-based column and row of the window; a position
// outside the window is ignored.
void MoveCursor(uint8_t column, uint16_t row);
