#include "bmp/pixel_loader.h"

#include "bmp/header_fields.h"
#include "console/console_lines.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"

namespace {

[[noreturn]] void CloseAndReject(BinaryFile& inputFile) {
  CloseFile(inputFile);
  CheckIo();
  EndRun(RunRejected);
}

// File row k (0 is the bottom image row) goes to pixel row 199 - k. Each
// row is positioned on its own, so where the header left the file does not
// matter and a row beyond the end of the file simply obtains nothing.
void ReadPixelRows(BinaryFile& inputFile, int32_t& totalBytesRead,
                   uint8_t (&pixelData)[PixelDataSize]) {
  uint16_t pixelBytesRead = 0;
  for (int16_t fileRow = PixelRows - 1; fileRow >= 0; --fileRow) {
    int64_t position = static_cast<int64_t>(HeaderBfOffBits()) +
                       static_cast<int64_t>(PixelRowBytes) * fileRow;
    SeekFile(inputFile, position);
    CheckIo();
    uint16_t countRead = 0;
    ReadBlock(inputFile, &pixelData[(PixelRows - 1 - fileRow) * PixelRowBytes], PixelRowBytes,
              countRead);
    CheckIo();
    pixelBytesRead = static_cast<uint16_t>(pixelBytesRead + countRead);
    totalBytesRead += countRead;
  }
  ShowUnsigned(pixelBytesRead);
  ShowText(" bytes PixelData read.");
  ShowLineEnd();
}

}  // namespace

void LoadPixelData(BinaryFile& inputFile, int32_t& totalBytesRead,
                   uint8_t (&pixelData)[PixelDataSize]) {
  // In 64 bits the difference of two 32-bit values cannot wrap around.
  int64_t announcedPixelBytes =
      static_cast<int64_t>(HeaderBfSize()) - static_cast<int64_t>(HeaderBfOffBits());
  ShowSigned(announcedPixelBytes);
  ShowText(" bytes bitmap data.");
  ShowLineEnd();
  if (announcedPixelBytes != PixelDataSize) {
    ShowText("Error: ");
    ShowSigned(announcedPixelBytes);
    ShowText(
        " bytes are not correct! A black/white or 4bit 8x8 image should have exactly 8000 "
        "bits!");
    ShowLineEnd();
    CloseAndReject(inputFile);
  }
  ShowText("Starting at position: ");
  ShowSigned(HeaderBfOffBits());
  ShowText(" byte");
  ShowLineEnd();

  int32_t bitCount = HeaderBiBitCount();
  if (bitCount == 4) ShowLine("*** sorry, 4bit multicolor mode not supported until now...");
  if (bitCount == 1) {
    ShowLine("Hires: Image is in black/white mode.");
    ReadPixelRows(inputFile, totalBytesRead, pixelData);
    return;
  }
  ShowText("Aborting: Image is in unsupported mode: bitCount=");
  ShowSigned(bitCount);
  ShowLineEnd();
  CloseAndReject(inputFile);
}
