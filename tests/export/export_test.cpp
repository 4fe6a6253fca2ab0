// The PETSCII stream printed on a small model of the C64 screen editor must
// leave the screen file on the screen; the formats an output name asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "outputs/output_formats.h"
#include "outputs/petscii_stream.h"

namespace {

using Screen = std::vector<uint8_t>;

// Follows the KERNAL's print routine for every code the stream may hold, and
// refuses what a stream must never do: print into the last column (the line
// would wrap), end the bottom row (the screen would scroll), move or delete
// past the left column, insert into a full row, send a control code that
// would be shown rather than done (in quote mode all but delete, in insert
// mode all), a colour code that changes nothing, or any other code. Colour
// memory takes the ink with every character printed, moves with the cells
// on delete and insert, and gives the blank these open the ink; after a
// clear it holds what the KERNAL's revision puts there, here Unknown.
constexpr uint8_t Unknown = 0xFF;
struct Editor {
  Screen cells = Screen(1000, 32), colours = Screen(1000, Unknown);
  int row = 0, column = 0, inserts = 0;
  bool reverse = false, quote = false, upperCase = false;
  uint8_t ink = Unknown;
  std::string refused;

  void Refuse(uint8_t code) {
    refused += std::to_string(code) + " at " + std::to_string(row * 40 + column) + "; ";
  }
  // In insert mode every character ends quote mode.
  void Put(uint8_t code) {
    if (column == 39) return Refuse(code);
    colours[row * 40 + column] = ink;
    cells[row * 40 + column++] = reverse ? static_cast<uint8_t>(code | 0x80) : code;
    if (inserts > 0 && --inserts > 0) quote = false;
  }
  void Print(uint8_t code) {
    uint8_t *line = &cells[row * 40], *inks = &colours[row * 40];
    const uint8_t* colour = std::find(PetsciiColourCodes, PetsciiColourCodes + 16, code);
    if (code == 0x0D || code == 0x8D) {
      if (row == 24) return Refuse(code);
      reverse = quote = false, inserts = column = 0, ++row;
    } else if (code >= 0x20 && code < 0x80) {
      quote ^= code == 0x22;
      Put(static_cast<uint8_t>(code < 0x60 ? code & 0x3F : code & 0xDF));
    } else if (code >= 0xA0) {
      Put(static_cast<uint8_t>(code == 0xFF ? 0x5E : (code & 0x7F) | 0x40));
    } else if ((quote && code != 0x14) || inserts > 0) {
      Refuse(code);
    } else if (code == 0x12 || code == 0x92 || code == 0x8E) {
      (code == 0x8E ? upperCase : reverse) = code != 0x92;
    } else if (code == 0x93) {
      cells.assign(1000, 32), colours.assign(1000, Unknown), row = column = 0;
    } else if (code == 0x14 && column > 0) {
      std::copy(line + column, line + 40, line + column - 1), line[39] = 32;
      std::copy(inks + column, inks + 40, inks + column - 1), inks[39] = ink, --column;
    } else if (code == 0x9D && column > 0) {
      --column;
    } else if (code == 0x94 && column < 39 && line[39] == 32) {
      std::copy_backward(line + column, line + 39, line + 40), line[column] = 32, ++inserts;
      std::copy_backward(inks + column, inks + 39, inks + 40), inks[column] = ink;
    } else if (colour == PetsciiColourCodes + 16 || colour - PetsciiColourCodes == ink) {
      Refuse(code);
    } else {
      ink = static_cast<uint8_t>(colour - PetsciiColourCodes);
    }
  }
};

// Every code; quotes and reverse cells at the ends of rows and in the last
// cell; then mostly quotes, reverse quotes, blanks and reverse letters, so
// that reverse changes after odd numbers of quotes in every column; then
// random screens. Half of them in light blue alone, the others with inks
// from a few colours, so that the ink changes beside quotes, inside reverse
// runs and in the last column, or stays.
TEST(Export, PetsciiStreamRebuildsTheScreenAndItsColours) {
  std::mt19937 random(1);
  const uint8_t ends[][3] = {{34, 129, 162}, {162, 34, 1}, {129, 34, 34}, {34, 160, 160}};
  const uint8_t quotes[] = {34, 162, 32, 160, 1, 129, 34, 96};
  for (int kind = 0; kind < 54; ++kind) {
    Screen screen(1000, kind == 1 ? 160 : 32), inks(1000, 14), shown(1000, Unknown);
    for (int cell = 0; cell < 1000; ++cell) {
      if (kind == 2) screen[cell] = static_cast<uint8_t>(cell);
      if (kind == 3 && cell % 40 >= 37) screen[cell] = ends[cell / 40 % 4][cell % 40 - 37];
      if (kind >= 4) screen[cell] = kind < 44 ? quotes[random() % 8] : uint8_t(random());
      if (kind % 2 == 1) inks[cell] = static_cast<uint8_t>(random() % 3 * 7);
    }
    uint8_t stream[PetsciiStreamCapacity];
    Editor editor;
    const int length = BuildPetsciiStream(screen.data(), inks.data(), stream);
    ASSERT_LE(length, PetsciiStreamCapacity);  // the bound the stream's buffers are made for
    for (int i = 0; i < length; ++i) editor.Print(stream[i]);
    // Light blue (0x9A) first where it is the only ink, the upper-case set,
    // nothing refused, the screen; the colours wherever a character shows
    // its ink (not in the blanks 32 and 96).
    if (kind % 2 == 0) {
      EXPECT_EQ(stream[0], 0x9A) << kind;
    }
    EXPECT_TRUE(editor.upperCase) << kind;
    EXPECT_EQ(editor.refused, "") << kind;
    EXPECT_EQ(editor.cells, screen) << kind;
    for (int cell = 0; cell < 1000; ++cell)
      if (screen[cell] != 32 && screen[cell] != 96) shown[cell] = inks[cell];
      else editor.colours[cell] = Unknown;
    EXPECT_EQ(editor.colours, shown) << kind;
  }
}

// Only the last part of a path has an extension; --format takes no "s".
TEST(Export, FormatFromNameAndWord) {
  using enum OutputFormat;
  const std::pair<const char*, OutputFormat> names[] = {
      {"a.prg", Program},
      {"C:\\x.y\\a.PRG", Program},
      {"a.asm", AssemblerSource},
      {"v1.2/a.s", AssemblerSource},
      {"a.Seq", PrintStream},
      {"a.PetMate", PetmateDocument},
      {"v1.2/screen", Unknown},
      {"v1.2\\screen", Unknown},
      {"d/.prg", Unknown},
      {"a.prg.bin", ScreenCodes},
      {"a.Col", ColourFile},
      {"a.bmp.png", PngImage},
      {"a.sq", Unknown},
      {"a.pet", Unknown},
      {"d\\.prg", Unknown},
  };
  for (const auto& [name, format] : names) EXPECT_EQ(FormatFromName(name), format) << name;
  const std::pair<const char*, OutputFormat> words[] = {
      {"prg", Program},
      {"asm", AssemblerSource},
      {"seq", PrintStream},
      {"petmate", PetmateDocument},
      {"bmp", BmpImage},
      {"s", Unknown},
      {"PRG", Unknown},
  };
  for (const auto& [word, format] : words)
    EXPECT_EQ(FormatFromWord(word), format) << word;
}

}  // namespace
