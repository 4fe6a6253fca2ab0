#include "outputs/petmate_document.h"

#include <cstring>
#include <string_view>

namespace {

int Put(uint8_t* text, int at, std::string_view piece) {
  std::memcpy(text + at, piece.data(), piece.size());
  return at + static_cast<int>(piece.size());
}

// A number from 0 to 255 in decimal, without leading zeros.
int PutNumber(uint8_t* text, int at, uint8_t value) {
  if (value >= 100) text[at++] = static_cast<uint8_t>('0' + value / 100);
  if (value >= 10) text[at++] = static_cast<uint8_t>('0' + value / 10 % 10);
  text[at++] = static_cast<uint8_t>('0' + value % 10);
  return at;
}

}  // namespace

int BuildPetmateDocument(const uint8_t* codes, const ColourScreen& colours, uint8_t* document,
                         CharacterSet set) {
  int at = Put(document, 0,
               "{\"version\":2,\"screens\":[0],\"framebufs\":[{\"width\":40,\"height\":25,"
               "\"backgroundColor\":");
  at = PutNumber(document, at, colours.background);
  at = Put(document, at, ",\"borderColor\":");
  at = PutNumber(document, at, colours.border);
  at = Put(document, at, set == CharacterSet::Lower ? ",\"charset\":\"lower\",\"framebuf\":[\n"
                                                    : ",\"charset\":\"upper\",\"framebuf\":[\n");
  for (int row = 0; row < CellRows; ++row) {
    document[at++] = '[';
    for (int column = 0; column < CellColumns; ++column) {
      const int cell = row * CellColumns + column;
      at = Put(document, at, "{\"code\":");
      at = PutNumber(document, at, codes[cell]);
      at = Put(document, at, ",\"color\":");
      at = PutNumber(document, at, colours.inks[cell]);
      at = Put(document, at, column < CellColumns - 1 ? "}," : "}");
    }
    at = Put(document, at, row < CellRows - 1 ? "],\n" : "]\n");
  }
  return Put(document, at, "]}],\"customFonts\":{}}\n");
}
