#include "memory_console.h"

#include <vector>

#include "console/console_platform.h"
#include "console/console_window.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"

namespace {

struct Cell {
  char character;
  uint8_t attribute;
};

MemoryConsoleSetup setup;
std::vector<Cell> cells;
int32_t cursorX = 0;
int32_t cursorY = 0;
int drawCount = 0;
int scrollCount = 0;

bool Inside(int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < setup.bufferWidth && y < setup.bufferHeight;
}

Cell& At(int32_t x, int32_t y) { return cells[static_cast<size_t>(y * setup.bufferWidth + x)]; }

}  // namespace

void ResetMemoryConsole(const MemoryConsoleSetup& newSetup) {
  setup = newSetup;
  cells.assign(static_cast<size_t>(setup.bufferWidth * setup.bufferHeight),
               Cell{' ', static_cast<uint8_t>(setup.attributes)});
  cursorX = setup.cursorX;
  cursorY = setup.cursorY;
  drawCount = 0;
  scrollCount = 0;
}

void StartMemoryConsole(const MemoryConsoleSetup& newSetup) {
  ResetMemoryConsole(newSetup);
  StartRuntime();
  StartConsole();
}

void StartMemoryConsole(int32_t columns, int32_t rows) {
  MemoryConsoleSetup s;
  s.bufferWidth = columns;
  s.bufferHeight = rows;
  s.windowRight = columns - 1;
  s.windowBottom = rows - 1;
  StartMemoryConsole(s);
}

std::string MemoryConsoleRow(int32_t y) {
  std::string row;
  for (int32_t x = 0; x < setup.bufferWidth; ++x) row += At(x, y).character;
  return row;
}

std::string MemoryConsoleWindowRow(int32_t row) {
  std::string text;
  for (int32_t x = setup.windowLeft; x <= setup.windowRight; ++x)
    text += At(x, setup.windowTop + row).character;
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string MemoryConsoleWindowText() {
  std::string text;
  int32_t rows = setup.windowBottom - setup.windowTop + 1;
  int32_t used = rows;
  while (used > 0 && MemoryConsoleWindowRow(used - 1).empty()) --used;
  for (int32_t r = 0; r < used; ++r) {
    if (r > 0) text += '\n';
    text += MemoryConsoleWindowRow(r);
  }
  return text;
}

uint8_t MemoryConsoleAttribute(int32_t x, int32_t y) { return At(x, y).attribute; }
char MemoryConsoleCharacter(int32_t x, int32_t y) { return At(x, y).character; }
int32_t MemoryConsoleCursorX() { return cursorX; }
int32_t MemoryConsoleCursorY() { return cursorY; }
int MemoryConsoleDrawCount() { return drawCount; }
int MemoryConsoleScrollCount() { return scrollCount; }

// The console primitives.

void PlatformStartConsole() {}

bool PlatformQueryScreenInfo(ConsoleScreenInfo& info) {
  info = ConsoleScreenInfo{};
  if (setup.redirected) return false;
  info.windowLeft = setup.windowLeft;
  info.windowTop = setup.windowTop;
  info.windowRight = setup.windowRight;
  info.windowBottom = setup.windowBottom;
  info.cursorX = cursorX;
  info.cursorY = cursorY;
  info.attributes = setup.attributes;
  return true;
}

void PlatformBeginDraw() {}

void PlatformEndDraw() { ++drawCount; }

void PlatformWriteCells(int32_t x, int32_t y, const uint8_t* characters, uint32_t count,
                        uint8_t attribute) {
  if (setup.redirected) return;
  // Like the console, text that runs past the buffer's right edge continues
  // on the next buffer row; past the last row it is dropped.
  for (uint32_t i = 0; i < count; ++i) {
    if (x >= setup.bufferWidth) {
      x = 0;
      ++y;
    }
    if (!Inside(x, y)) return;
    At(x, y) = Cell{static_cast<char>(characters[i]), attribute};
    ++x;
  }
}

void PlatformScrollWindowUp(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            uint8_t attribute) {
  if (setup.redirected) return;
  ++scrollCount;
  for (int32_t y = top; y < bottom; ++y)
    for (int32_t x = left; x <= right; ++x)
      if (Inside(x, y) && Inside(x, y + 1)) At(x, y) = At(x, y + 1);
  for (int32_t x = left; x <= right; ++x)
    if (Inside(x, bottom)) At(x, bottom) = Cell{' ', attribute};
}

void PlatformSetCursor(int32_t x, int32_t y) {
  if (setup.redirected || !Inside(x, y)) return;
  cursorX = x;
  cursorY = y;
}
