// Drawing into the console window on the in-memory screen buffer.
#include <gtest/gtest.h>

#include <string>

#include "console/console_lines.h"
#include "console/console_window.h"
#include "memory_console.h"

namespace {

void Draw(const std::string& text) { WriteText(consoleOutput, 0, text), EndWrite(consoleOutput); }

const std::string Controls("\x1b[\0\x0c\x7f", 5);
void Pieces() { ShowText("a"), ShowText("b"), ShowStatementEnd(), ShowLine("c"); }
// Moves are 1-based in the window; outside it they are ignored.
void MovesInside() { MoveCursor(10, 3), Draw("q"), MoveCursor(11, 1), Draw("r"); }
void MovesOutside() {
  MoveCursor(0, 1), MoveCursor(1, 0), MoveCursor(1, 5), Draw("s");
  MoveCursor(4, 1 + QueryCursorRow()), Draw("t");
}

// A 10 x 4 window at buffer columns 3..12 and rows 2..5 of a 20 x 10 buffer;
// the cursor starts at the left of the given window row.
TEST(Console, DrawsWrapsScrollsAndMoves) {
  const std::string x10(10, 'x');
  const struct {
    int32_t startRow;
    void (*draw)();
    std::string rows[4];
    int32_t column, row, scrolls, draws;
  } cases[] = {
      {0, [] { Draw("0123456789AB"); }, {"0123456789", "AB", "", ""}, 2, 1, 0, 1},
      {0, [] { Draw("0123456789"); }, {"0123456789", "", "", ""}, 0, 1, 0, 1},
      {0, [] { Draw(std::string(40, 'x') + "yz"); }, {x10, x10, x10, "yz"}, 2, 3, 1, 1},
      // 259 bytes: the channel hands on its full buffer, and nothing is lost.
      {0, [] { Draw(std::string(258, 'x') + "y"); }, {x10, x10, x10, "xxxxxxxxy"}, 9, 3, 22, 2},
      {0, [] { Draw("ab\ncd"); }, {"ab", "  cd", "", ""}, 4, 1, 0, 1},
      {3, [] { Draw("ab\nc"); }, {"", "", "ab", "  c"}, 3, 3, 1, 1},
      {3, [] { ShowText("four"), ShowLineEnd(); }, {"", "", "four", ""}, 0, 3, 1, 1},
      {0, [] { Draw("a\tb\acd\rX"); }, {"X\tbcd", "", "", ""}, 1, 0, 0, 1},
      {0, [] { Draw("abc\b\bX\b\b\b\bZ"); }, {"ZXc", "", "", ""}, 1, 0, 0, 1},
      {0, [] { Draw(Controls); }, {Controls, "", "", ""}, 5, 0, 0, 1},
      {1, Pieces, {"", "abc", "", ""}, 0, 2, 0, 2},
      {1, MovesInside, {"", "", "         q", "r"}, 1, 3, 0, 2},
      {1, MovesOutside, {"", "s", "   t", ""}, 4, 2, 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    StartMemoryConsole(MemoryConsoleSetup{20, 10, 3, 2, 12, 5, 3, 2 + c.startRow, 0x4F1E});
    c.draw();
    for (int32_t r = 0; r < 4; ++r) EXPECT_EQ(MemoryConsoleWindowRow(r), c.rows[r]);
    EXPECT_EQ(MemoryConsoleCursorX() - 3, c.column);
    EXPECT_EQ(MemoryConsoleCursorY() - 2, c.row);
    EXPECT_EQ(MemoryConsoleScrollCount(), c.scrolls);
    EXPECT_EQ(MemoryConsoleDrawCount(), c.draws);
    EXPECT_EQ(MemoryConsoleAttribute(3, 4), 0x1E);  // the start-up attribute's low byte
    std::string outside = MemoryConsoleRow(1) + MemoryConsoleRow(6);  // nothing outside the window
    for (int32_t y = 2; y < 6; ++y)
      outside += MemoryConsoleRow(y).substr(0, 3) + MemoryConsoleRow(y).substr(13);
    EXPECT_EQ(outside, std::string(80, ' '));
  }
}

}  // namespace
