// The PETSCII stream printed on a model of the C64 screen editor, which
// follows the KERNAL's print routine for every code the stream may hold:
// the screen it leaves must be the screen file. The model refuses what it
// does not cover (cursor moves across rows, inserts into a full row)
// instead of guessing.
#include "export/petscii_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Screen = std::vector<uint8_t>;

struct Editor {
  uint8_t cells[25][40];
  bool continues[25] = {};  // the row goes on from the row above (a wrapped line)
  int row = 0;
  int column = 0;
  bool reverse = false;
  bool quote = false;
  int inserts = 0;
  bool upperCase = false;
  std::string refused;

  Editor() { std::fill(&cells[0][0], &cells[0][0] + 1000, uint8_t{32}); }

  void ScrollUp() {
    for (int r = 0; r < 24; ++r) {
      std::copy(cells[r + 1], cells[r + 1] + 40, cells[r]);
      continues[r] = continues[r + 1];
    }
    std::fill(cells[24], cells[24] + 40, uint8_t{32});
    continues[24] = false;
  }

  // A character lands at the cursor; past column 39 the line wraps, and on
  // the bottom row the screen scrolls first. A logical line is at most two
  // rows long. In insert mode quote mode ends with every character.
  void Put(uint8_t screenCode) {
    cells[row][column] = reverse ? static_cast<uint8_t>(screenCode | 0x80) : screenCode;
    if (inserts > 0) --inserts;
    if (inserts > 0) quote = false;
    if (++column < 40) return;
    column = 0;
    bool wrapped = !continues[row];
    if (row == 24) ScrollUp(); else ++row;
    continues[row] = wrapped;
  }

  void PutSymbol(uint8_t screenCode) {  // a control code shown, not done
    const bool wasReverse = reverse;
    reverse = true;
    Put(screenCode);
    reverse = wasReverse;
  }

  void LineEnd() {
    reverse = quote = false;
    inserts = 0;
    column = 0;
    do {
      if (row == 24) ScrollUp(); else ++row;
    } while (continues[row]);
  }

  void Print(uint8_t code) {
    if (code == 0x0D || code == 0x8D) return LineEnd();
    if (code >= 0x20 && code < 0x80) {
      if (code == 0x22) quote = !quote;
      return Put(static_cast<uint8_t>(code < 0x60 ? code & 0x3F : code & 0xDF));
    }
    if (code >= 0xA0) return Put(static_cast<uint8_t>(code == 0xFF ? 0x5E : (code & 0x7F) | 0x40));
    const bool shifted = code >= 0x80;
    // In the KERNAL's order: for the shifted codes quote mode first, then
    // insert (which still acts in insert mode); for the others insert mode
    // first, then delete (which still acts in quote mode).
    const bool shown = shifted ? quote || (inserts > 0 && code != 0x94)
                               : inserts > 0 || (quote && code != 0x14);
    if (shown) return PutSymbol(static_cast<uint8_t>(shifted ? (code & 0x7F) | 0x40 : code));
    switch (code) {
      case 0x12: reverse = true; return;
      case 0x92: reverse = false; return;
      case 0x8E: upperCase = true; return;
      case 0x93:
        std::fill(&cells[0][0], &cells[0][0] + 1000, uint8_t{32});
        std::fill(continues, continues + 25, false);
        row = column = 0;
        return;
      case 0x14:
        if (column == 0 || continues[row] || (row < 24 && continues[row + 1])) break;
        --column;
        std::copy(cells[row] + column + 1, cells[row] + 40, cells[row] + column);
        cells[row][39] = 32;
        return;
      case 0x9D:
        if (column == 0) break;
        --column;
        return;
      case 0x94:
        if (column == 39 || cells[row][39] != 32) break;
        std::copy_backward(cells[row] + column, cells[row] + 39, cells[row] + 40);
        cells[row][column] = 32;
        ++inserts;
        return;
      default:
        for (uint8_t colour : PetsciiColourCodes)
          if (code == colour) return;
    }
    refused += std::to_string(code) + " at " + std::to_string(row * 40 + column) + "; ";
  }

  Screen Cells() const { return Screen(&cells[0][0], &cells[0][0] + 1000); }
};

Editor Printed(const std::vector<uint8_t>& stream) {
  Editor editor;
  for (uint8_t code : stream) editor.Print(code);
  return editor;
}

// The model against the rules the stream has to keep to.
TEST(ScreenEditorModel, FollowsTheEditorsRules) {
  const std::string fullRow(40, 'A');
  const struct {
    const char* rule;
    std::string stream;
    int cell;
    uint8_t code;
  } cases[] = {
      {"a full row wraps, a line end after it leaves a row empty", fullRow + "\rB", 80, 2},
      {"a line end ends reverse", "\x12" "A\rB", 40, 2},
      {"in quote mode reverse is shown", "\"\x12" "A", 1, 0x92},
      {"in quote mode delete still acts", "\"\x14" "A", 0, 1},
      {"a second quote ends quote mode", "\"\"\x12" "A", 2, 0x81},
      {"printing into the last cell scrolls", std::string(1000, 'A'), 960, 32},
  };
  for (const auto& c : cases) {
    Editor editor = Printed(std::vector<uint8_t>(c.stream.begin(), c.stream.end()));
    EXPECT_EQ(editor.Cells()[static_cast<size_t>(c.cell)], c.code) << c.rule;
  }
}

Screen RandomScreen(uint32_t seed, const std::vector<uint8_t>& codes) {
  std::mt19937 generator(seed);
  Screen screen(1000);
  for (uint8_t& code : screen) code = codes[generator() % codes.size()];
  return screen;
}

TEST(PetsciiStream, RebuildsTheScreen) {
  Screen everyCode(1000), lastCells(1000, 32);
  for (size_t cell = 0; cell < 1000; ++cell) everyCode[cell] = static_cast<uint8_t>(cell % 256);
  // Quotes and reverse cells at the ends of rows, and in the last cell.
  const uint8_t ends[][3] = {{34, 129, 162}, {162, 34, 1}, {129, 34, 34}, {34, 160, 160}};
  for (size_t row = 0; row < 25; ++row)
    for (size_t i = 0; i < 3; ++i) lastCells[row * 40 + 37 + i] = ends[row % 4][i];
  std::vector<std::pair<std::string, Screen>> screens = {
      {"blank", Screen(1000, 32)},
      {"reverse blanks, one run over every line end", Screen(1000, 160)},
      {"every code", everyCode},
      {"quotes and reverse at the row ends", lastCells},
  };
  // Mostly quotes, reverse quotes, blanks and reverse letters: reverse must
  // change after odd numbers of quotes, in every column.
  for (uint32_t seed = 1; seed <= 40; ++seed)
    screens.push_back({"quotes " + std::to_string(seed),
                       RandomScreen(seed, {34, 162, 32, 160, 1, 129, 34})});
  for (uint32_t seed = 1; seed <= 10; ++seed)
    screens.push_back({"random " + std::to_string(seed), RandomScreen(seed, everyCode)});
  std::vector<uint8_t> stream(PetsciiStreamCapacity);
  for (const auto& [name, screen] : screens) {
    SCOPED_TRACE(name);
    const int length = BuildPetsciiStream(screen.data(), 14, stream.data());
    ASSERT_LE(length, PetsciiStreamCapacity);
    EXPECT_EQ(stream[0], 0x9A);  // light blue
    Editor editor = Printed(std::vector<uint8_t>(stream.begin(), stream.begin() + length));
    EXPECT_EQ(editor.refused, "");
    EXPECT_TRUE(editor.upperCase);
    EXPECT_EQ(editor.Cells(), screen);
  }
}

}  // namespace
