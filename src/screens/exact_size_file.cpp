#include "screens/exact_size_file.h"

#include <cstring>

#include "files/whole_file.h"
#include "runtime/run_end.h"
#include "runtime/text_channel.h"
#include "screens/rejection_line.h"

namespace {

// One byte more than the largest file, so that a longer file shows itself.
uint8_t fileBytes[LargestExactSizeFile + 1];

[[noreturn]] void RejectSize(std::string_view name, uint16_t countRead, uint16_t size,
                             std::string_view kind) {
  ErrorText("Error: ");
  ErrorQuoted(name);
  if (countRead > size) {
    ErrorText(" has more than ");
    WriteUnsigned(standardError, 0, size);
    ErrorText(" bytes");
  } else {
    ErrorText(" has ");
    WriteUnsigned(standardError, 0, countRead);
    ErrorText(countRead == 1 ? " byte" : " bytes");
  }
  ErrorText(", ");
  ErrorText(kind);
  ErrorText(" has exactly ");
  WriteUnsigned(standardError, 0, size);
  EndRejectedLine(".");
}

}  // namespace

void ReadExactSizeFile(std::string_view name, uint8_t* bytes, uint16_t size,
                       std::string_view kind) {
  const uint16_t countRead = ReadWholeFile(name, fileBytes, static_cast<uint16_t>(size + 1));
  if (countRead != size) RejectSize(name, countRead, size, kind);
  std::memcpy(bytes, fileBytes, size);
}
