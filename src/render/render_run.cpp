#include "render/render_run.h"

#include <cstdint>

#include "bmp/pixel_layout.h"
#include "console/console_lines.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "screens/bmp_image.h"
#include "render/png_image.h"
#include "render/screen_drawing.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "screens/colour_file.h"
#include "screens/screen_file.h"

namespace {

uint8_t screenCodes[CellCount];
ColourScreen colours;
uint8_t imagePixels[PixelDataSize];
uint8_t imageFile[ImageFileSize];
uint8_t pngFile[PngImageCapacity];

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
  DrawScreen(screenCodes, imagePixels);
  const uint8_t* image = imageFile;
  int32_t imageSize = ImageFileSize;
  if (settings.png) {
    image = pngFile;
    imageSize =
        EncodePngImage(imagePixels, colours.inks, colours.background, settings.scale, pngFile);
    // libpng fails only when it cannot get memory; the run then ends as a
    // file operation would that ran out of it.
    if (imageSize == 0) {
      pendingIoError = NotEnoughMemory;
      CheckIo();
    }
  } else {
    BuildBmpImage(imagePixels, imageFile);
  }

  ShowNamedLine("Writing image file ", imageName, "...");
  WriteWholeFile(imageName, image, imageSize);
  ShowLine("done.");
}
