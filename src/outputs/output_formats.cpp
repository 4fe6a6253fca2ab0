#include "outputs/output_formats.h"

namespace {

struct FormatName {
  std::string_view text;
  OutputFormat format;
};

constexpr FormatName Extensions[] = {
    {"prg", OutputFormat::Program},
    {"asm", OutputFormat::AssemblerSource},
    {"s", OutputFormat::AssemblerSource},
    {"seq", OutputFormat::PrintStream},
    {"petmate", OutputFormat::PetmateDocument},
    {"bmp", OutputFormat::BmpImage},
    {"png", OutputFormat::PngImage},
    {"bin", OutputFormat::ScreenCodes},
    {"col", OutputFormat::ColourFile},
};

char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerCase(a[i]) != LowerCase(b[i])) return false;
  return true;
}

}  // namespace

OutputFormat FormatFromName(std::string_view name) {
  // The extension belongs to the last part of the path: a dot in a folder
  // name ("v1.2/screen") is not one. Both separators count, for Windows.
  size_t partStart = name.find_last_of("/\\");
  std::string_view part = partStart == std::string_view::npos ? name : name.substr(partStart + 1);
  size_t dot = part.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return OutputFormat::Unknown;
  std::string_view extension = part.substr(dot + 1);
  for (const FormatName& entry : Extensions)
    if (SameLetters(extension, entry.text)) return entry.format;
  return OutputFormat::Unknown;
}

OutputFormat FormatFromWord(std::string_view word) {
  for (const FormatName& entry : Extensions)
    if (word == entry.text && word != "s") return entry.format;
  return OutputFormat::Unknown;
}

std::string_view ExtensionOf(OutputFormat format) {
  for (const FormatName& entry : Extensions)
    if (entry.format == format) return entry.text;
  return {};
}

bool IsExportFormat(OutputFormat format) {
  return format == OutputFormat::Program || format == OutputFormat::AssemblerSource ||
         format == OutputFormat::PrintStream || format == OutputFormat::PetmateDocument;
}

std::string_view WritingLineStart(OutputFormat format) {
  switch (format) {
    case OutputFormat::Program:
      return "Writing program file ";
    case OutputFormat::AssemblerSource:
      return "Writing assembler source ";
    case OutputFormat::PetmateDocument:
      return "Writing Petmate document ";
    case OutputFormat::PrintStream:
      return "Writing PETSCII stream ";
    case OutputFormat::BmpImage:
    case OutputFormat::PngImage:
      return "Writing image file ";
    case OutputFormat::ScreenCodes:
      return "Writing screen file ";
    case OutputFormat::ColourFile:
    case OutputFormat::Unknown:
      break;
  }
  return "Writing colour file ";
}
