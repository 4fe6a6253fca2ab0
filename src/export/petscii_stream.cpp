#include "export/petscii_stream.h"

namespace {

constexpr uint8_t BlankCode = 32;  // the normal space the cleared screen holds
constexpr int ReverseBit = 0x80;
constexpr int LastColumn = CellColumns - 1;

// The printing state the C64's screen editor keeps, as far as the stream
// changes it. Both flags are off at the start of every row: at the start of
// the stream, and after a line end.
struct StreamWriter {
  uint8_t* stream;
  int length;
  bool reverse;
  bool quoteMode;
};

void Emit(StreamWriter& writer, uint8_t code) { writer.stream[writer.length++] = code; }

// Turns quote mode over without leaving a mark: a quote, which the delete
// after it takes away again. Delete acts even in quote mode. The cursor must
// stand at most in column 38, so that the quote does not wrap the line, and
// every cell right of it must be blank, since the delete pulls them one to
// the left; the stream prints left to right, so they are.
void FlipQuoteModeQuietly(StreamWriter& writer) {
  Emit(writer, PetsciiQuote);
  Emit(writer, PetsciiDelete);
  writer.quoteMode = !writer.quoteMode;
}

// Reverse codes only act outside quote mode; inside it they would print.
void SetReverse(StreamWriter& writer, bool reverse) {
  if (writer.reverse == reverse) return;
  if (writer.quoteMode) FlipQuoteModeQuietly(writer);
  Emit(writer, reverse ? PetsciiReverseOn : PetsciiReverseOff);
  writer.reverse = reverse;
}

void PrintCharacter(StreamWriter& writer, uint8_t code) {
  const uint8_t petscii = PetsciiForScreenCode(code & 0x7F);
  Emit(writer, petscii);
  if (petscii == PetsciiQuote) writer.quoteMode = !writer.quoteMode;
}

void PrintCell(StreamWriter& writer, uint8_t code) {
  SetReverse(writer, (code & ReverseBit) != 0);
  PrintCharacter(writer, code);
}

// The cursor stands in column 38 and column 39 is blank. The last cell's
// character is printed into column 38; cursor left and insert then push it
// into column 39 and open column 38 again, where the character before it
// goes. Cursor left and insert act only outside quote mode, so the last
// cell's character must leave it off; and in insert mode the next control
// code would print, so the reverse state of column 38 is set before.
void PrintLastTwoCells(StreamWriter& writer, uint8_t before, uint8_t last) {
  SetReverse(writer, (last & ReverseBit) != 0);
  const bool lastIsQuote = PetsciiForScreenCode(last & 0x7F) == PetsciiQuote;
  if (writer.quoteMode != lastIsQuote) FlipQuoteModeQuietly(writer);
  PrintCharacter(writer, last);
  SetReverse(writer, (before & ReverseBit) != 0);
  Emit(writer, PetsciiCursorLeft);
  Emit(writer, PetsciiInsert);
  PrintCharacter(writer, before);
}

}  // namespace

uint8_t PetsciiForScreenCode(uint8_t code) {
  if (code < 32) return static_cast<uint8_t>(code + 64);
  if (code < 64) return code;
  if (code < 96) return static_cast<uint8_t>(code + 128);
  return static_cast<uint8_t>(code + 64);
}

int BuildPetsciiStream(const uint8_t* codes, uint8_t ink, uint8_t* stream) {
  StreamWriter writer{stream, 0, false, false};
  Emit(writer, PetsciiColourCodes[ink & 0xF]);
  Emit(writer, PetsciiUpperCase);
  Emit(writer, PetsciiClearScreen);
  for (int row = 0; row < CellRows; ++row) {
    const uint8_t* cells = codes + row * CellColumns;
    int last = LastColumn;
    while (last >= 0 && cells[last] == BlankCode) --last;
    writer.reverse = false;
    writer.quoteMode = false;
    if (last < LastColumn) {
      for (int column = 0; column <= last; ++column) PrintCell(writer, cells[column]);
    } else {
      for (int column = 0; column < LastColumn - 1; ++column) PrintCell(writer, cells[column]);
      PrintLastTwoCells(writer, cells[LastColumn - 1], cells[LastColumn]);
    }
    // A line end on the bottom row would scroll the screen.
    if (row < CellRows - 1) Emit(writer, PetsciiReturn);
  }
  return writer.length;
}
