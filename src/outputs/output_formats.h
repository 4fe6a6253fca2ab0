#pragma once
#include <cstdint>
#include <string_view>

// Every file a screen can be written as. The first four are the export
// program's; the images are the renderer's; the screen codes and the colour
// file are what the converter and the preparer write.
enum class OutputFormat : uint8_t {
  Unknown,
  Program,
  AssemblerSource,
  PrintStream,
  PetmateDocument,
  BmpImage,
  PngImage,
  ScreenCodes,
  ColourFile
};

// The format an output name asks for with its extension, in any case:
// .prg, .asm or .s, .seq, .petmate, .bmp, .png, .bin, .col. Any other
// extension, or none, gives Unknown.
OutputFormat FormatFromName(std::string_view name);

// The format a word names: prg, asm, seq, petmate, bmp, png, bin or col, in
// lower case.
OutputFormat FormatFromWord(std::string_view word);

// The extension a format's files are named with, without the dot: the
// word FormatFromWord takes.
std::string_view ExtensionOf(OutputFormat format);

// Whether the format is one of the export program's four.
bool IsExportFormat(OutputFormat format);

// The start of the console line shown before a file of the format is
// written: "Writing program file " and so on; the name follows.
std::string_view WritingLineStart(OutputFormat format);
