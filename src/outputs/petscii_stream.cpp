#include "outputs/petscii_stream.h"

#include "match/glyph_table.h"

namespace {

constexpr uint8_t BlankCode = 32;  // the normal space the cleared screen holds
constexpr int ReverseBit = 0x80;
constexpr int LastColumn = CellColumns - 1;

// The printing state the C64's screen editor keeps, as far as the stream
// changes it. Both flags are off at the start of every row: at the start of
// the stream, and after a line end. The ink stays over line ends.
struct StreamWriter {
  uint8_t* stream;
  int length;
  bool reverse;
  bool quoteMode;
  uint8_t ink;
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

// Colour codes too act only outside quote mode. They are sent only where
// a cell's ink shows (see InkShows) and differs from the last one sent.
void SetInk(StreamWriter& writer, uint8_t code, uint8_t ink) {
  if (writer.ink == ink || !InkShows(code)) return;
  if (writer.quoteMode) FlipQuoteModeQuietly(writer);
  Emit(writer, PetsciiColourCodes[ink & 0xF]);
  writer.ink = ink;
}

void PrintCharacter(StreamWriter& writer, uint8_t code) {
  const uint8_t petscii = PetsciiForScreenCode(code & 0x7F);
  Emit(writer, petscii);
  if (petscii == PetsciiQuote) writer.quoteMode = !writer.quoteMode;
}

void PrintCell(StreamWriter& writer, uint8_t code, uint8_t ink) {
  SetReverse(writer, (code & ReverseBit) != 0);
  SetInk(writer, code, ink);
  PrintCharacter(writer, code);
}

// The cursor stands in column 38 and column 39 is blank. The last cell's
// character is printed into column 38; cursor left and insert then push it,
// with its colour, into column 39 and open column 38 again, where the
// character before it goes. Cursor left and insert act only outside quote
// mode, so the last cell's character must leave it off; and in insert mode
// the next control code would print, so the reverse state and the ink of
// column 38 are set before.
void PrintLastTwoCells(StreamWriter& writer, const uint8_t* cells, const uint8_t* inks) {
  const uint8_t before = cells[LastColumn - 1], last = cells[LastColumn];
  SetReverse(writer, (last & ReverseBit) != 0);
  SetInk(writer, last, inks[LastColumn]);
  const bool lastIsQuote = PetsciiForScreenCode(last & 0x7F) == PetsciiQuote;
  if (writer.quoteMode != lastIsQuote) FlipQuoteModeQuietly(writer);
  PrintCharacter(writer, last);
  SetReverse(writer, (before & ReverseBit) != 0);
  SetInk(writer, before, inks[LastColumn - 1]);
  Emit(writer, PetsciiCursorLeft);
  Emit(writer, PetsciiInsert);
  PrintCharacter(writer, before);
}

// The ink the stream starts with: that of the first cell whose ink shows,
// so that no colour code is needed before it.
uint8_t FirstInk(const uint8_t* codes, const uint8_t* inks) {
  for (int cell = 0; cell < CellCount; ++cell)
    if (InkShows(codes[cell])) return inks[cell];
  return inks[0];
}

}  // namespace

bool InkShows(uint8_t code) {
  for (int line = 0; line < GlyphRows; ++line)
    if (GlyphTable[code * GlyphRows + line] != 0) return true;
  return false;
}

uint8_t PetsciiForScreenCode(uint8_t code) {
  if (code < 32) return static_cast<uint8_t>(code + 64);
  if (code < 64) return code;
  if (code < 96) return static_cast<uint8_t>(code + 128);
  return static_cast<uint8_t>(code + 64);
}

int BuildPetsciiStream(const uint8_t* codes, const uint8_t* inks, uint8_t* stream,
                       CharacterSet set) {
  StreamWriter writer{stream, 0, false, false, FirstInk(codes, inks)};
  Emit(writer, PetsciiColourCodes[writer.ink & 0xF]);
  if (set == CharacterSet::Lower) {
    Emit(writer, PetsciiLowerCase);
    Emit(writer, PetsciiLockCase);
  } else {
    Emit(writer, PetsciiUpperCase);
  }
  Emit(writer, PetsciiClearScreen);
  for (int row = 0; row < CellRows; ++row) {
    const uint8_t* cells = codes + row * CellColumns;
    const uint8_t* rowInks = inks + row * CellColumns;
    int last = LastColumn;
    while (last >= 0 && cells[last] == BlankCode) --last;
    writer.reverse = false;
    writer.quoteMode = false;
    const int printedAlone = last < LastColumn ? last + 1 : LastColumn - 1;
    for (int column = 0; column < printedAlone; ++column)
      PrintCell(writer, cells[column], rowInks[column]);
    if (last == LastColumn) PrintLastTwoCells(writer, cells, rowInks);
    // A line end on the bottom row would scroll the screen.
    if (row < CellRows - 1) Emit(writer, PetsciiReturn);
  }
  return writer.length;
}
