#pragma once
#include <cstdint>

#include "outputs/asm_text.h"
#include "outputs/output_formats.h"
#include "outputs/petmate_document.h"
#include "outputs/petscii_stream.h"
#include "outputs/png_image.h"
#include "outputs/prg_image.h"
#include "screens/bmp_image.h"
#include "screens/colour_file.h"

// How an output is to look where its format leaves a choice.
struct OutputStyle {
  AsmDialect dialect;  // assembler source
  bool asmColours;     // assembler source: the colours follow the screen codes
  uint8_t scale;       // PNG image
  CharacterSet set;    // every format but the codes and colours
};

constexpr int32_t LargerOf(int32_t a, int32_t b) { return a > b ? a : b; }

// Room for any output of the format.
constexpr int32_t OutputCapacity(OutputFormat format) {
  switch (format) {
    case OutputFormat::Program:
      return PrgImageCapacity;
    case OutputFormat::AssemblerSource:
      return AsmTextCapacity;
    case OutputFormat::PrintStream:
      return PetsciiStreamCapacity;
    case OutputFormat::PetmateDocument:
      return PetmateDocumentCapacity;
    case OutputFormat::BmpImage:
      return ImageFileSize;
    case OutputFormat::PngImage:
      return PngImageCapacity;
    case OutputFormat::ScreenCodes:
      return CellCount;
    case OutputFormat::ColourFile:
    case OutputFormat::Unknown:
      break;
  }
  return ColourFileSize;
}

// Room for any output of any format.
inline constexpr int32_t ScreenOutputCapacity = LargerOf(
    LargerOf(LargerOf(PrgImageCapacity, AsmTextCapacity),
             LargerOf(PetsciiStreamCapacity, PetmateDocumentCapacity)),
    LargerOf(PngImageCapacity, ImageFileSize));

// Builds the file of the given format (never Unknown) for codes (CellCount
// screen codes) in colours into output, which holds ScreenOutputCapacity
// bytes, and returns its size. Images are the screen drawn with the glyph
// table. 0 means the PNG encoder could not get its working memory, or this
// build has no PNG output.
int32_t BuildScreenOutput(OutputFormat format, const uint8_t* codes, const ColourScreen& colours,
                          const OutputStyle& style, uint8_t* output);
