#include "screens/colour_file.h"

#include <cstring>

#include "console/console_lines.h"
#include "runtime/run_end.h"
#include "runtime/text_channel.h"
#include "screens/c64_colours.h"
#include "screens/exact_size_file.h"
#include "screens/rejection_line.h"

static_assert(ColourFileSize <= LargestExactSizeFile);

namespace {

uint8_t fileBytes[ColourFileSize];

[[noreturn]] void RejectColour(std::string_view name, int at) {
  ErrorText("Error: ");
  ErrorQuoted(name);
  ErrorText(" holds ");
  WriteUnsigned(standardError, 0, fileBytes[at]);
  ErrorText(" at byte ");
  WriteUnsigned(standardError, 0, static_cast<uint64_t>(at));
  EndRejectedLine("; colours are 0 to 15.");
}

}  // namespace

void FillColourScreen(uint8_t ink, uint8_t border, uint8_t background, ColourScreen& colours) {
  std::memset(colours.inks, ink, CellCount);
  colours.border = border;
  colours.background = background;
}

bool OneInkForAll(const ColourScreen& colours) {
  for (uint8_t ink : colours.inks)
    if (ink != colours.inks[0]) return false;
  return true;
}

void ReadColourFile(std::string_view name, ColourScreen& colours) {
  ShowNamedLine("Reading colour file ", name, "...");
  ReadExactSizeFile(name, fileBytes, ColourFileSize, "a colour file");
  for (int at = 0; at < ColourFileSize; ++at)
    if (fileBytes[at] >= C64ColourCount) RejectColour(name, at);
  std::memcpy(&colours, fileBytes, ColourFileSize);
}
