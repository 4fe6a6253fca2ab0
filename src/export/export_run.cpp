#include "export/export_run.h"

#include <cstdint>

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "outputs/screen_output.h"
#include "screens/colour_file.h"
#include "screens/screen_file.h"

namespace {

uint8_t screenCodes[CellCount];
ColourScreen colours;
uint8_t outputBytes[ScreenOutputCapacity];

}  // namespace

void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings) {
  ReadScreenFile(screenName, screenCodes);
  if (settings.colourFileGiven) {
    ReadColourFile(settings.colourFileName, colours);
  } else {
    FillColourScreen(settings.ink, settings.border, settings.background, colours);
  }
  if (settings.backgroundGiven) colours.background = settings.background;
  if (settings.borderGiven) colours.border = settings.border;
  const OutputStyle style = {settings.dialect, settings.colourFileGiven, 0, settings.set};
  const int32_t size = BuildScreenOutput(settings.format, screenCodes, colours, style, outputBytes);
  ShowNamedLine(WritingLineStart(settings.format), outputName, "...");
  WriteWholeFile(outputName, outputBytes, size);
  ShowLine("done.");
}
