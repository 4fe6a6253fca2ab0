#include "bmp/bmp_header.h"

#include "bmp/pixel_layout.h"
#include "console/console_lines.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"

namespace {

void ShowDimensionError(int32_t found, int32_t required, std::string_view ending) {
  ShowText("Image dimensions incorrect error: Image is ");
  ShowSigned(found);
  ShowText(" pixels, should be ");
  ShowSigned(required);
  ShowText(ending);
  ShowLineEnd();
}

}  // namespace

// The input stays open on a rejection here; ending the run releases it.
void ValidateHeader() {
  if (HeaderBiCompression() != 0) {
    ShowLine("Compression enabled - This is currently not supported!");
    EndRun(RunRejected);
  }
  if (HeaderBiWidth() != PixelColumns) {
    ShowDimensionError(HeaderBiWidth(), PixelColumns, " pixels wide.");
    EndRun(RunRejected);
  }
  if (HeaderBiHeight() != PixelRows) {
    ShowDimensionError(HeaderBiHeight(), PixelRows, " pixels high.");
    EndRun(RunRejected);
  }
  int32_t bitCount = HeaderBiBitCount();
  if (bitCount != 1 && bitCount != 4) {
    ShowText("Image colours incorrect error: Image uses ");
    ShowSigned(bitCount);
    ShowText(
        " bits/pixel, should use only 1 bit/pixel (hires, black/white) or 4 bit/pixel "
        "(multicolor, indexed 16colors).");
    ShowLineEnd();
    EndRun(RunRejected);
  }
}
