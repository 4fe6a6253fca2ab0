#include "render/render_run.h"

#include <cstdint>

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "outputs/screen_output.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "screens/colour_file.h"
#include "screens/screen_file.h"

namespace {

uint8_t screenCodes[CellCount];
ColourScreen colours;
uint8_t imageFile[ScreenOutputCapacity];

}  // namespace

void RenderScreenFile(std::string_view screenName, std::string_view imageName,
                      const RenderSettings& settings) {
  ReadScreenFile(screenName, screenCodes);
  if (settings.colourFileGiven) {
    ReadColourFile(settings.colourFileName, colours);
  } else {
    FillColourScreen(settings.ink, StartupBorder, settings.background, colours);
  }
  if (settings.backgroundGiven) colours.background = settings.background;
  const OutputFormat format = settings.png ? OutputFormat::PngImage : OutputFormat::BmpImage;
  const OutputStyle style = {AsmDialect::DotByte, false, settings.scale, settings.set};
  const int32_t imageSize = BuildScreenOutput(format, screenCodes, colours, style, imageFile);
  // libpng fails only when it cannot get memory; the run then ends as a
  // file operation would that ran out of it.
  if (imageSize == 0) {
    pendingIoError = NotEnoughMemory;
    CheckIo();
  }
  ShowNamedLine(WritingLineStart(format), imageName, "...");
  WriteWholeFile(imageName, imageFile, imageSize);
  ShowLine("done.");
}
