#include "export/export_run.h"

#include <cstdint>

#include "console/console_lines.h"
#include "export/petscii_stream.h"
#include "export/petmate_document.h"
#include "export/prg_image.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "screens/colour_file.h"
#include "screens/screen_file.h"

namespace {

constexpr int Largest(int a, int b) { return a > b ? a : b; }
constexpr int OutputCapacity =
    Largest(Largest(PrgImageCapacity, AsmTextCapacity),
            Largest(PetsciiStreamCapacity, PetmateDocumentCapacity));

uint8_t screenCodes[CellCount];
ColourScreen colours;
uint8_t outputBytes[OutputCapacity];

int BuildOutput(const ExportSettings& settings) {
  switch (settings.format) {
    case OutputFormat::Program:
      return BuildPrgImage(screenCodes, colours, outputBytes);
    case OutputFormat::AssemblerSource:
      return BuildAsmText(screenCodes, settings.colourFileGiven ? &colours : nullptr,
                          settings.dialect, outputBytes);
    case OutputFormat::PetmateDocument:
      return BuildPetmateDocument(screenCodes, colours, outputBytes);
    case OutputFormat::PrintStream:
    case OutputFormat::Unknown:
      break;
  }
  return BuildPetsciiStream(screenCodes, colours.inks, outputBytes);
}

std::string_view OutputKind(OutputFormat format) {
  if (format == OutputFormat::Program) return "Writing program file ";
  if (format == OutputFormat::AssemblerSource) return "Writing assembler source ";
  if (format == OutputFormat::PetmateDocument) return "Writing Petmate document ";
  return "Writing PETSCII stream ";
}

}  // namespace

void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings) {
  ReadScreenFile(screenName, screenCodes);
  if (settings.colourFileGiven) {
    ReadColourFile(settings.colourFileName, colours);
  } else {
    FillColourScreen(settings.ink, settings.border, settings.background, colours);
  }
  if (settings.backgroundGiven) colours.background = settings.background;
  if (settings.borderGiven) colours.border = settings.border;
  const int size = BuildOutput(settings);
  ShowNamedLine(OutputKind(settings.format), outputName, "...");
  WriteWholeFile(outputName, outputBytes, size);
  ShowLine("done.");
}
