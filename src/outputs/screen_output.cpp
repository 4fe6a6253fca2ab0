#include "outputs/screen_output.h"

#include <cstring>

#include "outputs/screen_drawing.h"

int32_t BuildScreenOutput(OutputFormat format, const uint8_t* codes, const ColourScreen& colours,
                          const OutputStyle& style, uint8_t* output) {
  // The drawing lives on the stack, so that threads can build outputs side by side.
  uint8_t pixels[PixelDataSize];
  switch (format) {
    case OutputFormat::Program:
      return BuildPrgImage(codes, colours, output);
    case OutputFormat::AssemblerSource:
      return BuildAsmText(codes, style.asmColours ? &colours : nullptr, style.dialect, output);
    case OutputFormat::PetmateDocument:
      return BuildPetmateDocument(codes, colours, output);
    case OutputFormat::PrintStream:
      return BuildPetsciiStream(codes, colours.inks, output);
    case OutputFormat::BmpImage:
      DrawScreen(codes, pixels);
      BuildBmpImage(pixels, output);
      return ImageFileSize;
    case OutputFormat::PngImage:
      DrawScreen(codes, pixels);
      return EncodePngImage(pixels, colours.inks, colours.background, style.scale, output);
    case OutputFormat::ScreenCodes:
      std::memcpy(output, codes, CellCount);
      return CellCount;
    case OutputFormat::ColourFile:
    case OutputFormat::Unknown:
      break;
  }
  std::memcpy(output, &colours, ColourFileSize);
  return ColourFileSize;
}
