#include "outputs/screen_output.h"

#include <cstring>

#include "outputs/screen_drawing.h"

int32_t BuildScreenOutput(OutputFormat format, const uint8_t* codes, const ColourScreen& colours,
                          const OutputStyle& style, uint8_t* output) {
  // The drawing lives on the stack, so that threads can build outputs side by side.
  uint8_t pixels[PixelDataSize];
  switch (format) {
    case OutputFormat::Program:
      return BuildPrgImage(codes, colours, output, style.set);
    case OutputFormat::AssemblerSource:
      return BuildAsmText(codes, style.asmColours ? &colours : nullptr, style.dialect, output,
                          style.set);
    case OutputFormat::PetmateDocument:
      return BuildPetmateDocument(codes, colours, output, style.set);
    case OutputFormat::PrintStream:
      return BuildPetsciiStream(codes, colours.inks, output, style.set);
    case OutputFormat::BmpImage:
      DrawScreen(codes, pixels, style.set);
      BuildBmpImage(pixels, output);
      return ImageFileSize;
    case OutputFormat::PngImage:
      DrawScreen(codes, pixels, style.set);
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
