#include "render/render_run.h"

#include <cstdint>

#include "bmp/pixel_layout.h"
#include "console/console_lines.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "render/bmp_image.h"
#include "render/png_image.h"
#include "render/screen_drawing.h"
#include "runtime/arguments_platform.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/short_text.h"

namespace {

// One byte more than a screen holds, so a longer file shows itself.
constexpr uint16_t ScreenReadSize = CellCount + 1;

uint8_t screenBytes[ScreenReadSize];
uint8_t imagePixels[PixelDataSize];
uint8_t imageFile[ImageFileSize];
uint8_t pngFile[PngImageCapacity];

[[noreturn]] void RejectScreenSize(std::string_view screenName, uint16_t countRead) {
  ShowText("Error: ");
  ShowText("\"");
  ShowText(TextView(ShowName(screenName).text));
  ShowText("\"");
  if (countRead > CellCount) {
    ShowText(" has more than 1000 bytes");
  } else {
    ShowText(" has ");
    ShowUnsigned(countRead);
    ShowText(countRead == 1 ? " byte" : " bytes");
  }
  ShowText(", a screen file has exactly 1000.");
  ShowLineEnd();
  EndRun(RunRejected);
}

}  // namespace

void RenderScreenFile(std::string_view screenName, std::string_view imageName,
                      const RenderSettings& settings) {
  ShowNamedLine("Reading screen file ", screenName, "...");
  uint16_t countRead = ReadWholeFile(screenName, screenBytes, ScreenReadSize);
  if (countRead != CellCount) RejectScreenSize(screenName, countRead);

  DrawScreen(screenBytes, imagePixels);
  const uint8_t* image = imageFile;
  int32_t imageSize = ImageFileSize;
  if (settings.png) {
    image = pngFile;
    imageSize = EncodePngImage(imagePixels, settings.scale, C64Palette[settings.ink],
                               C64Palette[settings.background], pngFile);
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
