#include "export/export_run.h"

#include <cstdint>

#include "console/console_lines.h"
#include "export/petscii_stream.h"
#include "files/whole_file.h"
#include "match/screen_layout.h"
#include "runtime/arguments_platform.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/short_text.h"

namespace {

// One byte more than a screen holds, so a longer file shows itself.
constexpr uint16_t ScreenReadSize = CellCount + 1;

constexpr int Largest(int a, int b) { return a > b ? a : b; }
constexpr int OutputCapacity = Largest(PrgImageSize, Largest(AsmTextSize, PetsciiStreamCapacity));

uint8_t screenBytes[ScreenReadSize];
uint8_t outputBytes[OutputCapacity];

[[noreturn]] void RejectScreenSize(std::string_view screenName, uint16_t countRead) {
  ErrorText("Error: ");
  ErrorQuoted(screenName);
  if (countRead > CellCount) {
    ErrorText(" has more than 1000 bytes");
  } else {
    ErrorText(" has ");
    WriteUnsigned(standardError, 0, countRead);
    ErrorText(countRead == 1 ? " byte" : " bytes");
  }
  EndRejectedLine(", a screen file has exactly 1000.");
}

int BuildOutput(const ExportSettings& settings) {
  switch (settings.format) {
    case OutputFormat::Program:
      BuildPrgImage(screenBytes, settings.colours, outputBytes);
      return PrgImageSize;
    case OutputFormat::AssemblerSource:
      return BuildAsmText(screenBytes, settings.dialect, outputBytes);
    case OutputFormat::PrintStream:
    case OutputFormat::Unknown:
      break;
  }
  return BuildPetsciiStream(screenBytes, settings.colours.ink, outputBytes);
}

std::string_view OutputKind(OutputFormat format) {
  if (format == OutputFormat::Program) return "Writing program file ";
  if (format == OutputFormat::AssemblerSource) return "Writing assembler source ";
  return "Writing PETSCII stream ";
}

}  // namespace

void ErrorText(std::string_view text) { WriteText(standardError, 0, text); }

void ErrorQuoted(std::string_view value) {
  ErrorText("\"");
  ErrorText(TextView(ShowName(value).text));
  ErrorText("\"");
}

void EndRejectedLine(std::string_view text) {
  ErrorText(text);
  EndLine(standardError);
  CheckIo();
  EndRun(RunRejected);
}

void ExportScreenFile(std::string_view screenName, std::string_view outputName,
                      const ExportSettings& settings) {
  ShowNamedLine("Reading screen file ", screenName, "...");
  uint16_t countRead = ReadWholeFile(screenName, screenBytes, ScreenReadSize);
  if (countRead != CellCount) RejectScreenSize(screenName, countRead);

  const int size = BuildOutput(settings);
  ShowNamedLine(OutputKind(settings.format), outputName, "...");
  WriteWholeFile(outputName, outputBytes, size);
  ShowLine("done.");
}
