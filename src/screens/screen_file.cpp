#include "screens/screen_file.h"

#include <cstring>

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "runtime/run_end.h"
#include "screens/rejection_line.h"

namespace {

// One byte more than a screen holds, so that a longer file shows itself.
constexpr uint16_t ScreenReadSize = CellCount + 1;

uint8_t fileBytes[ScreenReadSize];

[[noreturn]] void RejectScreenSize(std::string_view name, uint16_t countRead) {
  ErrorText("Error: ");
  ErrorQuoted(name);
  if (countRead > CellCount) {
    ErrorText(" has more than 1000 bytes");
  } else {
    ErrorText(" has ");
    WriteUnsigned(standardError, 0, countRead);
    ErrorText(countRead == 1 ? " byte" : " bytes");
  }
  EndRejectedLine(", a screen file has exactly 1000.");
}

}  // namespace

void ReadScreenFile(std::string_view name, uint8_t (&codes)[CellCount]) {
  ShowNamedLine("Reading screen file ", name, "...");
  const uint16_t countRead = ReadWholeFile(name, fileBytes, ScreenReadSize);
  if (countRead != CellCount) RejectScreenSize(name, countRead);
  std::memcpy(codes, fileBytes, CellCount);
}
