#include "memory_console.h"

#include "console/console_platform.h"
#include "console/console_window.h"
#include "runtime/run_end.h"

namespace {

MemoryConsoleSetup setup;
std::string characters, attributes;  // one byte a cell, row by row
int32_t cursorX = 0, cursorY = 0;
int drawCount = 0, scrollCount = 0;

bool Inside(int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < setup.bufferWidth && y < setup.bufferHeight;
}
size_t At(int32_t x, int32_t y) { return static_cast<size_t>(y * setup.bufferWidth + x); }

}  // namespace

void StartMemoryConsole(const MemoryConsoleSetup& newSetup) {
  setup = newSetup;
  characters.assign(At(0, setup.bufferHeight), ' ');
  attributes.assign(At(0, setup.bufferHeight), static_cast<char>(setup.attributes));
  cursorX = setup.cursorX, cursorY = setup.cursorY, drawCount = scrollCount = 0;
  StartRuntime(), StartConsole();
}

void StartMemoryConsole(int32_t columns, int32_t rows) {
  StartMemoryConsole(MemoryConsoleSetup{columns, rows, 0, 0, columns - 1, rows - 1});
}

std::string MemoryConsoleRow(int32_t y) { return characters.substr(At(0, y), At(0, 1)); }

std::string MemoryConsoleWindowRow(int32_t row) {
  const int32_t width = setup.windowRight - setup.windowLeft + 1;
  std::string text = characters.substr(At(setup.windowLeft, setup.windowTop + row), width);
  return text.erase(text.find_last_not_of(' ') + 1);
}

std::string MemoryConsoleWindowText() {
  std::string text;
  for (int32_t r = 0; r <= setup.windowBottom - setup.windowTop; ++r)
    text += MemoryConsoleWindowRow(r) + '\n';
  return text.erase(text.find_last_not_of('\n') + 1);
}

uint8_t MemoryConsoleAttribute(int32_t x, int32_t y) {
  return static_cast<uint8_t>(attributes[At(x, y)]);
}
int32_t MemoryConsoleCursorX() { return cursorX; }
int32_t MemoryConsoleCursorY() { return cursorY; }
int MemoryConsoleDrawCount() { return drawCount; }
int MemoryConsoleScrollCount() { return scrollCount; }

// The console primitives.

void PlatformStartConsole() {}
void PlatformBeginDraw() {}
void PlatformEndDraw() { ++drawCount; }

bool PlatformQueryScreenInfo(ConsoleScreenInfo& info) {
  info = {setup.windowLeft, setup.windowTop, setup.windowRight, setup.windowBottom,
          cursorX, cursorY, setup.attributes};
  return true;
}

// Like the console, text that runs past the buffer's right edge continues on
// the next buffer row; past the last row it is dropped.
void PlatformWriteCells(int32_t x, int32_t y, const uint8_t* text, uint32_t count,
                        uint8_t attribute) {
  for (uint32_t i = 0; i < count && Inside(x % setup.bufferWidth, y + x / setup.bufferWidth);
       ++i, ++x) {
    characters[At(0, y) + x] = static_cast<char>(text[i]);
    attributes[At(0, y) + x] = static_cast<char>(attribute);
  }
}

void PlatformScrollWindowUp(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            uint8_t attribute) {
  ++scrollCount;
  for (int32_t y = top; y <= bottom; ++y)
    for (int32_t x = left; x <= right; ++x) {
      const bool last = y == bottom || !Inside(x, y + 1);
      if (!Inside(x, y)) continue;
      characters[At(x, y)] = last ? ' ' : characters[At(x, y + 1)];
      attributes[At(x, y)] = last ? static_cast<char>(attribute) : attributes[At(x, y + 1)];
    }
}

void PlatformSetCursor(int32_t x, int32_t y) {
  if (Inside(x, y)) cursorX = x, cursorY = y;
}
