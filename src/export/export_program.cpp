#include "export/export_program.h"

#include "console/console_lines.h"
#include "export/export_run.h"
#include "render/c64_colours.h"
#include "runtime/command_line.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/short_text.h"

namespace {

[[noreturn]] void ShowUsage() {
  ShortText line{};
  AppendText(line, "Usage: ");
  AppendText(line, TextView(ArgumentText(0)));
  AppendText(line,
             " <screen.bin> <output.prg|.asm|.s|.seq> [--format prg|asm|seq]"
             " [--dialect acme|64tass] [--ink 0-15] [--background 0-15] [--border 0-15]");
  ShowLine(TextView(line));
  ShowLine(
      "Writes a 1000-byte screen file as a C64 program that shows it, as assembler source or as "
      "a PETSCII print stream.");
  EndRun(RunRejected);
}

constexpr uint8_t FormatBit(OutputFormat format) {
  return static_cast<uint8_t>(1u << static_cast<unsigned>(format));
}

// Every option, and the formats it means something for. An option given for
// another format is turned down rather than ignored, so that nobody waits
// for a border colour in assembler source.
struct OptionRule {
  std::string_view name;
  uint8_t formats;
  std::string_view appliesTo;
};

enum OptionIndex : uint8_t { FormatIndex, DialectIndex, InkIndex, BackgroundIndex, BorderIndex };

constexpr OptionRule Options[] = {
    {"--format",
     FormatBit(OutputFormat::Program) | FormatBit(OutputFormat::AssemblerSource) |
         FormatBit(OutputFormat::PrintStream),
     ""},
    {"--dialect", FormatBit(OutputFormat::AssemblerSource),
     " applies to assembler source (.asm, .s) only."},
    {"--ink", FormatBit(OutputFormat::Program) | FormatBit(OutputFormat::PrintStream),
     " applies to programs (.prg) and PETSCII streams (.seq) only."},
    {"--background", FormatBit(OutputFormat::Program), " applies to programs (.prg) only."},
    {"--border", FormatBit(OutputFormat::Program), " applies to programs (.prg) only."},
};
constexpr int OptionCount = sizeof Options / sizeof Options[0];

[[noreturn]] void RejectValue(std::string_view before, std::string_view value,
                              std::string_view after) {
  ErrorText("Error: ");
  ErrorText(before);
  ErrorQuoted(value);
  EndRejectedLine(after);
}

uint8_t ReadColour(std::string_view name, std::string_view value) {
  int32_t number = 0;
  if (!ReadNumberWord(value, 0, C64ColourCount - 1, number)) {
    ErrorText("Error: ");
    ErrorText(name);
    ErrorText(" takes a colour number from 0 to 15, not ");
    ErrorQuoted(value);
    EndRejectedLine(".");
  }
  return static_cast<uint8_t>(number);
}

void ReadOption(int index, std::string_view value, ExportSettings& settings) {
  switch (index) {
    case FormatIndex:
      settings.format = FormatFromWord(value);
      if (settings.format == OutputFormat::Unknown)
        RejectValue("unknown format ", value, "; the formats are prg, asm and seq.");
      break;
    case DialectIndex:
      if (value == "acme") {
        settings.dialect = AsmDialect::Acme;
      } else if (value == "64tass") {
        settings.dialect = AsmDialect::DotByte;
      } else {
        RejectValue("unknown assembler dialect ", value, "; the dialects are acme and 64tass.");
      }
      break;
    case InkIndex:
      settings.colours.ink = ReadColour(Options[index].name, value);
      break;
    case BackgroundIndex:
      settings.colours.background = ReadColour(Options[index].name, value);
      break;
    default:
      settings.colours.border = ReadColour(Options[index].name, value);
      break;
  }
}

}  // namespace

void RunExportProgram() {
  // The screen and the output, then options in pairs of name and value.
  if (ArgumentCount() < 2 || ArgumentCount() % 2 != 0) ShowUsage();
  ExportSettings settings{OutputFormat::Unknown,
                          AsmDialect::DotByte,
                          {StartupInk, StartupBackground, StartupBorder}};
  uint8_t given = 0;  // bit n: option n was on the command line
  for (int argument = 3; argument < ArgumentCount(); argument += 2) {
    std::string_view name = ArgumentWhole(argument);
    int index = 0;
    while (index < OptionCount && Options[index].name != name) ++index;
    if (index == OptionCount)
      RejectValue("unknown option ", name,
                  "; the options are --format, --dialect, --ink, --background and --border.");
    ReadOption(index, ArgumentWhole(argument + 1), settings);
    given = static_cast<uint8_t>(given | 1u << index);
  }
  const std::string_view outputName = ArgumentWhole(2);
  if (settings.format == OutputFormat::Unknown) settings.format = FormatFromName(outputName);
  if (settings.format == OutputFormat::Unknown)
    RejectValue("cannot tell the format from the name ", outputName,
                ": the formats are .prg, .asm (or .s) and .seq, or --format prg|asm|seq.");
  for (int index = 0; index < OptionCount; ++index) {
    if ((given & 1u << index) != 0 && (Options[index].formats & FormatBit(settings.format)) == 0) {
      ErrorText("Error: ");
      ErrorText(Options[index].name);
      EndRejectedLine(Options[index].appliesTo);
    }
  }
  ExportScreenFile(ArgumentWhole(1), outputName, settings);
  EndRun(0);
}
