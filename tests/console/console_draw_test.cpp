// Drawing into the console window: placement, wrapping, scrolling, control
// bytes and the cursor operations, on the in-memory screen buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console_lines.h"
#include "console/console_window.h"
#include "memory_console.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/text_channel.h"

namespace {

void Draw(const std::string& text) {
  WriteText(consoleOutput, 0, text);
  EndWrite(consoleOutput);
}

// A 10 x 4 window at buffer columns 3..12 and rows 2..5 of a 20 x 10 buffer,
// with markers outside it that drawing must never touch.
MemoryConsoleSetup InnerWindow() {
  MemoryConsoleSetup s;
  s.bufferWidth = 20;
  s.bufferHeight = 10;
  s.windowLeft = 3;
  s.windowTop = 2;
  s.windowRight = 12;
  s.windowBottom = 5;
  s.cursorX = 3;
  s.cursorY = 2;
  s.attributes = 0x1E;
  return s;
}

TEST(ConsoleDraw, TextLandsAtTheCursorInTheStartUpAttribute) {
  MemoryConsoleSetup s = InnerWindow();
  s.attributes = 0x4F1E;  // only the low byte is kept
  s.cursorX = 5;
  s.cursorY = 3;
  StartMemoryConsole(s);
  Draw("ab");
  EXPECT_EQ(MemoryConsoleRow(3).substr(5, 2), "ab");
  EXPECT_EQ(MemoryConsoleAttribute(5, 3), 0x1E);
  EXPECT_EQ(MemoryConsoleCursorX(), 7);
  EXPECT_EQ(MemoryConsoleCursorY(), 3);
  EXPECT_EQ(MemoryConsoleDrawCount(), 1);
}

TEST(ConsoleDraw, ALineEndOnTheLastRowScrollsOnlyTheWindow) {
  MemoryConsoleSetup s = InnerWindow();
  StartMemoryConsole(s);
  for (const char* line : {"one", "two", "three", "four"}) {
    ShowText(line);
    if (std::string(line) != "four") ShowLineEnd();
  }
  ShowLineEnd();
  EXPECT_EQ(MemoryConsoleScrollCount(), 1);
  EXPECT_EQ(MemoryConsoleWindowRow(0), "two");
  EXPECT_EQ(MemoryConsoleWindowRow(1), "three");
  EXPECT_EQ(MemoryConsoleWindowRow(2), "four");
  EXPECT_EQ(MemoryConsoleWindowRow(3), "");
  EXPECT_EQ(MemoryConsoleAttribute(3, 5), 0x1E);
  EXPECT_EQ(MemoryConsoleCursorX(), 3);
  EXPECT_EQ(MemoryConsoleCursorY(), 5);
  // The lost row does not move into the buffer above the window.
  EXPECT_EQ(MemoryConsoleRow(1), std::string(20, ' '));
}

struct DrawCase {
  const char* name;
  int32_t startRow;  // window-relative, the cursor starts at its left
  std::string bytes;
  std::vector<std::string> rows;  // the window's four rows afterwards
  int32_t cursorColumn;           // window-relative, 0-based
  int32_t cursorRow;
  int scrolls;
};

// Wrapping, scrolling and control bytes in the 10 x 4 window.
TEST(ConsoleDraw, WrapsScrollsAndCarriesOutControlBytes) {
  const std::string ten = "0123456789";
  const DrawCase cases[] = {
      {"wrap at the right column", 0, ten + "AB", {ten, "AB", "", ""}, 2, 1, 0},
      {"ending in the right column", 0, ten, {ten, "", "", ""}, 0, 1, 0},
      {"wrapping past the last row", 0, std::string(40, 'x') + "yz",
       {std::string(10, 'x'), std::string(10, 'x'), std::string(10, 'x'), "yz"}, 2, 3, 1},
      {"line feed keeps the column", 0, "ab\ncd", {"ab", "  cd", "", ""}, 4, 1, 0},
      {"line feed on the last row", 3, "ab\nc", {"", "", "ab", "  c"}, 3, 3, 1},
      {"tab is one cell", 0, "a\tb", {"a\tb", "", "", ""}, 3, 0, 0},
      {"bell changes nothing", 0, "a\ab", {"ab", "", "", ""}, 2, 0, 0},
      {"backspace moves back without erasing", 0, "abc\b\bX", {"aXc", "", "", ""}, 2, 0, 0},
      {"backspace at the left column stays", 0, "\b\bZ", {"Z", "", "", ""}, 1, 0, 0},
      {"carriage return goes to the left column", 0, "abc\rX", {"Xbc", "", "", ""}, 1, 0, 0},
      {"escape and other bytes are cells", 0, std::string("\x1b[0\x0c\x7f\0", 6),
       {std::string("\x1b[0\x0c\x7f\0", 6), "", "", ""}, 6, 0, 0},
  };
  for (const DrawCase& c : cases) {
    MemoryConsoleSetup s = InnerWindow();
    s.cursorY += c.startRow;
    StartMemoryConsole(s);
    Draw(c.bytes);
    for (int32_t r = 0; r < 4; ++r) EXPECT_EQ(MemoryConsoleWindowRow(r), c.rows[r]) << c.name;
    EXPECT_EQ(MemoryConsoleCursorX() - 3, c.cursorColumn) << c.name;
    EXPECT_EQ(MemoryConsoleCursorY() - 2, c.cursorRow) << c.name;
    EXPECT_EQ(MemoryConsoleScrollCount(), c.scrolls) << c.name;
    EXPECT_EQ(MemoryConsoleRow(2).substr(13), std::string(7, ' ')) << c.name;  // right of the window
  }
}

TEST(ConsoleDraw, LongStatementsAreDrawnInPiecesWithNothingLost) {
  StartMemoryConsole(120, 10);
  std::string text;
  for (int i = 0; i < 600; ++i) text += static_cast<char>('a' + i % 26);
  WriteText(consoleOutput, 0, text);
  EndLine(consoleOutput);
  std::string shown;
  for (int r = 0; r < 5; ++r) shown += MemoryConsoleWindowRow(r);
  EXPECT_EQ(shown, text);
  EXPECT_EQ(MemoryConsoleCursorX(), 0);
  EXPECT_EQ(MemoryConsoleCursorY(), 6);
}

TEST(ConsoleDraw, MoveCursorAcceptsOnlyPositionsInsideTheWindow) {
  StartMemoryConsole(80, 25);
  for (int k = 0; k < 16; ++k) {
    ShowText(">");
    int32_t before = MemoryConsoleCursorX();
    uint16_t row = QueryCursorRow();
    MoveCursor(static_cast<uint8_t>(13 + 6 * k), row);
    if (k < 12) {
      EXPECT_EQ(MemoryConsoleCursorX(), 12 + 6 * k) << k;
    } else {
      EXPECT_EQ(MemoryConsoleCursorX(), before) << k;  // column 85 and on is outside
    }
  }
  const struct {
    uint8_t column;
    uint16_t row;
  } ignored[] = {{0, 1}, {1, 0}, {81, 1}, {1, 26}, {255, 255}};
  for (const auto& c : ignored) {
    MoveCursor(5, 5);
    MoveCursor(c.column, c.row);
    EXPECT_EQ(MemoryConsoleCursorX(), 4);
    EXPECT_EQ(MemoryConsoleCursorY(), 4);
  }
  MoveCursor(80, 25);
  EXPECT_EQ(MemoryConsoleCursorX(), 79);
  EXPECT_EQ(MemoryConsoleCursorY(), 24);
}

TEST(ConsoleDraw, CursorOperationsAreRelativeToTheWindow) {
  StartMemoryConsole(InnerWindow());
  EXPECT_EQ(QueryCursorRow(), 1);
  MoveCursor(4, 3);
  EXPECT_EQ(MemoryConsoleCursorX(), 6);
  EXPECT_EQ(MemoryConsoleCursorY(), 4);
  EXPECT_EQ(QueryCursorRow(), 3);
  Draw("q");  // the next draw starts where the cursor was moved
  EXPECT_EQ(MemoryConsoleCharacter(6, 4), 'q');
}

TEST(ConsoleDraw, ARedirectedOutputShowsNothingAndTheRunGoesOn) {
  MemoryConsoleSetup s = InnerWindow();
  s.redirected = true;
  StartMemoryConsole(s);
  ShowLine("nothing of this is drawn");
  MoveCursor(2, 1);
  EXPECT_EQ(QueryCursorRow(), 1);
  EXPECT_EQ(consoleWindow.windowRight, 1u);
  EXPECT_EQ(consoleWindow.windowBottom, 1u);
  EXPECT_EQ(consoleWindow.textAttribute, 0);
  EXPECT_EQ(pendingIoError, 0);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(MemoryConsoleRow(y), std::string(20, ' '));
}

TEST(ConsoleDraw, EachStatementIsOneDraw) {
  StartMemoryConsole(80, 25);
  ShowText("a");
  ShowText("b");
  EXPECT_EQ(MemoryConsoleDrawCount(), 0);
  ShowStatementEnd();
  ShowLine("c");
  EXPECT_EQ(MemoryConsoleDrawCount(), 2);
  EXPECT_EQ(MemoryConsoleWindowRow(0), "abc");
}

}  // namespace
