#include "export/export_run.h"

#include <cstdint>

#include "console/console_lines.h"
#include "export/petscii_stream.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "screens/screen_file.h"

namespace {

constexpr int Largest(int a, int b) { return a > b ? a : b; }
constexpr int OutputCapacity = Largest(PrgImageSize, Largest(AsmTextSize, PetsciiStreamCapacity));

uint8_t screenCodes[CellCount];
uint8_t outputBytes[OutputCapacity];

int BuildOutput(const ExportSettings& settings) {
  switch (settings.format) {
    case OutputFormat::Program:
      BuildPrgImage(screenCodes, settings.colours, outputBytes);
      return PrgImageSize;
    case OutputFormat::AssemblerSource:
      return BuildAsmText(screenCodes, settings.dialect, outputBytes);
    case OutputFormat::PrintStream:
    case OutputFormat::Unknown:
      break;
  }
  return BuildPetsciiStream(screenCodes, settings.colours.ink, outputBytes);
}

std::string_view OutputKind(OutputFormat format) {
  if (format == OutputFormat::Program) return "Writing program file ";
  if (format == OutputFormat::AssemblerSource) return "Writing assembler source ";
  return "Writing PETSCII stream ";
}

}  // namespace

void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings) {
  ReadScreenFile(screenName, screenCodes);
  const int size = BuildOutput(settings);
  ShowNamedLine(OutputKind(settings.format), outputName, "...");
  WriteWholeFile(outputName, outputBytes, size);
  ShowLine("done.");
}
