// File names are the one text a user hands the program that it shows on
// the terminal. Whatever bytes a name holds, each must come out as one
// visible cell (or, for the four bytes the console acts on, as the console's
// own cursor movement), and nothing from a name may reach the terminal as a
// control sequence: the only escapes in the output are the program's own
// cursor moves and its cursor query.
#include <gtest/gtest.h>
#include <vterm.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "temp_folder.h"
#include "terminal_session.h"

namespace {

const std::string Program = CELLGLYPH_PROGRAM;
constexpr int Columns = 300;  // no line of these runs wraps
constexpr int Rows = 100;     // and nothing scrolls away
constexpr int ReadingRow = 1; // below the banner
const std::string ReadingStart = "Opening file \"";
const std::string ReadingEnd = "\" for reading...";

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// Where the output holds something other than UTF-8 text without control
// characters, CR, LF, the moves ESC [ n A, C and D, and the query ESC [ 6 n;
// empty when nothing.
std::string FirstForeignSequence(const std::string& output) {
  size_t i = 0;
  auto at = [&](size_t k) { return k < output.size() ? static_cast<unsigned char>(output[k]) : 0; };
  auto foreign = [&](const char* what) {
    return std::string(what) + " at byte " + std::to_string(i) + " (" + Hex(at(i)) + ")";
  };
  while (i < output.size()) {
    unsigned char byte = at(i);
    if (byte == '\r' || byte == '\n' || (byte >= 0x20 && byte < 0x7F)) {
      ++i;
    } else if (byte == 0x1B) {
      if (output.compare(i, 4, "\x1b[6n") == 0) {
        i += 4;
        continue;
      }
      size_t k = i + 2;
      while (at(k) >= '0' && at(k) <= '9') ++k;
      bool move = at(i + 1) == '[' && k > i + 2 && (at(k) == 'A' || at(k) == 'C' || at(k) == 'D');
      if (!move) return foreign("an escape sequence that is not a cursor move");
      i = k + 1;
    } else if (byte < 0x80) {
      return foreign("a control character");
    } else {
      // One UTF-8 sequence, strictly: no stray continuation bytes, no
      // overlong forms, no surrogates, and no C1 control characters.
      int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
      if (length == 0 || byte > 0xF4) return foreign("a byte that starts no UTF-8 character");
      uint32_t code = byte & (0x7F >> length);
      for (int k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return foreign("a broken UTF-8 character");
        code = code << 6 | (at(i + k) & 0x3F);
      }
      const uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
      if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return foreign("an invalid UTF-8 character");
      if (code <= 0x9F) return foreign("a C1 control character");
      i += static_cast<size_t>(length);
    }
  }
  return "";
}

TEST(OutputCheck, FindsEveryKindOfForeignSequence) {
  const std::string clean = "ab\r\n\x1b[12C\x1b[3A\x1b[1D\x1b[6n\xE2\x90\x9B\xC3\xA9";
  EXPECT_EQ(FirstForeignSequence(clean), "");
  for (const std::string& bad :
       {std::string("\x07"), std::string("\t"), std::string("\x7F"), std::string("\x1b]0;t\x07"),
        std::string("\x1b[31m"), std::string("\x1b[C"), std::string("\x1b" "c"), std::string("\x9b"),
        std::string("\xC2\x9B"), std::string("\xC0\xAF"), std::string("\xE2\x90"),
        std::string("\xED\xA0\x80")}) {
    EXPECT_NE(FirstForeignSequence(clean + bad + clean), "") << "not found: " << bad;
  }
}

struct Cell {
  uint32_t code;  // 0 for an empty cell
  int characters; // code points in the cell
  int width;
};

// Plays the program's output into a fresh terminal of the same size, so that
// single cells and their widths can be read.
std::vector<std::vector<Cell>> Replay(const std::string& output) {
  VTerm* vt = vterm_new(Rows, Columns);
  vterm_set_utf8(vt, 1);
  VTermScreen* screen = vterm_obtain_screen(vt);
  vterm_screen_reset(screen, 1);
  vterm_input_write(vt, output.data(), output.size());
  std::vector<std::vector<Cell>> cells(Rows, std::vector<Cell>(Columns));
  for (int row = 0; row < Rows; ++row) {
    for (int column = 0; column < Columns; ++column) {
      VTermScreenCell cell;
      vterm_screen_get_cell(screen, VTermPos{row, column}, &cell);
      int count = 0;
      while (count < VTERM_MAX_CHARS_PER_CELL && cell.chars[count] != 0) ++count;
      cells[row][column] = Cell{cell.chars[0], count, cell.width};
    }
  }
  vterm_free(vt);
  return cells;
}

class TerminalSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<uint8_t> bytes = WellFormedBmp();
    image.assign(bytes.begin(), bytes.end());
  }

  // Creates the input file under the name; false when the file system
  // refuses the name.
  bool CreateInput(const std::string& name) {
    std::string path = folder.root + "/" + name;
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (descriptor < 0) return false;
    bool written = ::write(descriptor, image.data(), image.size()) == static_cast<ssize_t>(image.size());
    ::close(descriptor);
    return written;
  }

  // Converts the file of that name, run from its folder so the reading line
  // shows the name alone.
  TerminalScreen Convert(const std::string& name) {
    TerminalOptions options;
    options.columns = Columns;
    options.rows = Rows;
    options.workingFolder = folder.root;
    return RunInTerminal({Program, name, "out.bin", "normal", "56"}, options);
  }

  TempFolder folder;
  std::string image;
};

bool IsShownAsItself(unsigned char byte) {
  // Printable ASCII, and the Latin-1 letters and signs of the upper half
  // (the soft hyphen, which may take no cell, excepted).
  return (byte >= 0x20 && byte < 0x7F) || (byte >= 0xA0 && byte != 0xAD);
}

TEST_F(TerminalSafety, EveryByteOfAnInputNameIsOneVisibleCell) {
  // Every byte but the four the console acts on (bell, backspace, line
  // feed, carriage return) and the folder separator, in two names short
  // enough for one reading line.
  std::string lower;
  std::string upper;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == 7 || byte == 8 || byte == 10 || byte == 13 || byte == '/') continue;
    (byte < 128 ? lower : upper) += static_cast<char>(byte);
  }
  for (const std::string& name : {lower, upper}) {
    if (!CreateInput(name)) {
      ADD_FAILURE() << "the file system refused a name starting with " << Hex(name[0]);
      continue;
    }
    TerminalScreen screen = Convert(name);
    EXPECT_EQ(screen.exitStatus, 0) << ScreenText(screen);
    EXPECT_EQ(FirstForeignSequence(screen.output), "");
    std::vector<std::vector<Cell>> cells = Replay(screen.output);
    const std::vector<Cell>& row = cells[ReadingRow];
    const size_t first = ReadingStart.size();
    for (size_t i = 0; i < name.size(); ++i) {
      unsigned char byte = static_cast<unsigned char>(name[i]);
      const Cell& cell = row[first + i];
      SCOPED_TRACE("byte " + Hex(byte));
      EXPECT_EQ(cell.characters, 1);
      EXPECT_EQ(cell.width, 1);
      EXPECT_TRUE(cell.code >= 0x20 && !(cell.code >= 0x7F && cell.code <= 0x9F))
          << "a control character: U+" << std::hex << cell.code;
      if (IsShownAsItself(byte)) {
        EXPECT_EQ(cell.code, byte);
      }
    }
    // The line goes on right after the name's last cell.
    for (size_t i = 0; i < ReadingEnd.size(); ++i)
      EXPECT_EQ(row[first + name.size() + i].code, static_cast<uint32_t>(ReadingEnd[i])) << i;
    EXPECT_EQ(row[first + name.size() + ReadingEnd.size()].code, 0u);
  }
}

struct MovingCase {
  const char* name;
  std::string inputName;
  std::vector<std::string> rows;  // from the reading line on
};

// The bytes the console acts on move its cursor as the console does; none of
// them reaches the terminal as itself.
TEST_F(TerminalSafety, ControlBytesInAnInputNameMoveTheCursorLikeTheConsole) {
  const MovingCase cases[] = {
      {"bell: silent, no cell", "a\ab", {"Opening file \"ab\" for reading...", "[54 bytes read] done."}},
      {"backspace: one column back, nothing erased", "a\bb",
       {"Opening file \"b\" for reading...", "[54 bytes read] done."}},
      {"line feed: one row down, same column", "a\nb",
       {"Opening file \"a", std::string(15, ' ') + "b\" for reading...", "[54 bytes read] done."}},
      {"carriage return: back to the left column", "a\rb",
       {"b\" for reading...", "[54 bytes read] done."}},
  };
  for (const MovingCase& c : cases) {
    ASSERT_TRUE(CreateInput(c.inputName)) << c.name;
    TerminalScreen screen = Convert(c.inputName);
    EXPECT_EQ(screen.exitStatus, 0) << c.name;
    EXPECT_EQ(FirstForeignSequence(screen.output), "") << c.name;
    ASSERT_GT(screen.rows.size(), ReadingRow + c.rows.size()) << c.name;
    for (size_t i = 0; i < c.rows.size(); ++i)
      EXPECT_EQ(screen.rows[ReadingRow + i], c.rows[i]) << c.name << ", row " << i;
    EXPECT_EQ(ScreenText(screen).substr(ScreenText(screen).rfind('\n') + 1), "done.") << c.name;
  }
}

// Terminals far smaller or wider than any report: the whole run still goes
// through, the screen codes are written, and the output stays clean.
TEST_F(TerminalSafety, TerminalsOfExtremeSizesTakeAWholeRun) {
  ASSERT_TRUE(CreateInput("bob.bmp"));
  struct Size {
    int columns;
    int rows;
  };
  for (Size size : {Size{1, 1}, Size{2, 2}, Size{7, 3}, Size{40, 1}, Size{1, 60}, Size{1000, 4}}) {
    SCOPED_TRACE(std::to_string(size.columns) + " x " + std::to_string(size.rows));
    TerminalOptions options;
    options.columns = size.columns;
    options.rows = size.rows;
    options.workingFolder = folder.root;
    std::remove((folder.root + "/out.bin").c_str());
    TerminalScreen screen = RunInTerminal({Program, "bob.bmp", "out.bin", "normal", "56"}, options);
    EXPECT_EQ(screen.exitStatus, 0);
    EXPECT_EQ(FirstForeignSequence(screen.output), "");
    EXPECT_EQ(ReadWholeFile(folder.root + "/out.bin").size(), 1000u);
  }
}

}  // namespace
