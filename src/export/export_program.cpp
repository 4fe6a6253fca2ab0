#include "export/export_program.h"

#include "export/export_run.h"
#include "runtime/command_line.h"
#include "runtime/run_end.h"
#include "screens/charset_option.h"
#include "screens/colour_options.h"
#include "screens/program_help.h"
#include "screens/rejection_line.h"

namespace {

constexpr UsageLine ExportUsage[] = {
    {"Usage: ", true, " <screen.bin> <output.prg|.asm|.s|.seq|.petmate>"},
    {"", false, "         [--format prg|asm|seq|petmate] [--colours <colours.bin>]"},
    {"", false, "         [--dialect acme|64tass] [--ink 0-15] [--background 0-15]"},
    {"", false, "         [--border 0-15] [--charset upper|lower]"},
    {"", false, "Writes a 1000-byte screen file, in the colours of a 1002-byte colour file where"},
    {"", false, "one is given, as a C64 program that shows it, as assembler source, as a PETSCII"},
    {"", false, "print stream or as a Petmate document."},
};
constexpr ProgramHelp ExportHelp = {"cellglyph-export", ExportUsage};

constexpr uint8_t FormatBit(OutputFormat format) {
  return static_cast<uint8_t>(1u << static_cast<unsigned>(format));
}

// Every option, and the formats it means something for. An option given for
// another format is turned down rather than ignored, so that nobody waits
// for a border colour in assembler source or a print stream.
struct OptionRule {
  std::string_view name;
  uint8_t formats;
  std::string_view appliesTo;
};

enum OptionIndex : uint8_t {
  FormatIndex,
  DialectIndex,
  ColoursIndex,
  InkIndex,
  BackgroundIndex,
  BorderIndex,
  CharsetIndex
};

constexpr uint8_t EveryFormat = FormatBit(OutputFormat::Program) |
                                FormatBit(OutputFormat::AssemblerSource) |
                                FormatBit(OutputFormat::PrintStream) |
                                FormatBit(OutputFormat::PetmateDocument);
constexpr uint8_t ScreenFormats =
    FormatBit(OutputFormat::Program) | FormatBit(OutputFormat::PetmateDocument);

constexpr OptionRule Options[] = {
    {"--format", EveryFormat, ""},
    {"--dialect", FormatBit(OutputFormat::AssemblerSource),
     " applies to assembler source (.asm, .s) only."},
    {ColoursOptionName, EveryFormat, ""},
    {InkOption.name, ScreenFormats | FormatBit(OutputFormat::PrintStream),
     " applies to programs (.prg), PETSCII streams (.seq) and Petmate documents only."},
    {BackgroundOption.name, ScreenFormats,
     " applies to programs (.prg) and Petmate documents (.petmate) only."},
    {BorderOption.name, ScreenFormats,
     " applies to programs (.prg) and Petmate documents (.petmate) only."},
    {CharsetOptionName, EveryFormat, ""},
};
constexpr int OptionCount = sizeof Options / sizeof Options[0];

// Colour numbers fit in a byte.
uint8_t ReadColour(const NumberOption& option, std::string_view value) {
  return static_cast<uint8_t>(ReadOptionValue(option, value));
}

void ReadOption(int index, std::string_view value, ExportSettings& settings) {
  switch (index) {
    case FormatIndex:
      settings.format = FormatFromWord(value);
      if (!IsExportFormat(settings.format))
        RejectQuoted("unknown format ", value, "; the formats are prg, asm, seq and petmate.");
      break;
    case DialectIndex:
      if (value == "acme") {
        settings.dialect = AsmDialect::Acme;
      } else if (value == "64tass") {
        settings.dialect = AsmDialect::DotByte;
      } else {
        RejectQuoted("unknown assembler dialect ", value, "; the dialects are acme and 64tass.");
      }
      break;
    case ColoursIndex:
      settings.colourFileGiven = true;
      settings.colourFileName = value;
      break;
    case InkIndex:
      settings.ink = ReadColour(InkOption, value);
      break;
    case BackgroundIndex:
      settings.background = ReadColour(BackgroundOption, value);
      settings.backgroundGiven = true;
      break;
    case BorderIndex:
      settings.border = ReadColour(BorderOption, value);
      settings.borderGiven = true;
      break;
    default:
      settings.set = ReadCharsetValue(value);
      break;
  }
}

}  // namespace

void RunExportProgram() {
  AnswerHelpOrVersion(ExportHelp);
  // The screen and the output, then options in pairs of name and value.
  if (ArgumentCount() < 2 || ArgumentCount() % 2 != 0) RejectCommandLine(ExportHelp);
  ExportSettings settings{OutputFormat::Unknown, AsmDialect::DotByte, StartupInk,
                          StartupBackground, StartupBorder, false, false, false, {},
                          CharacterSet::Upper};
  uint8_t given = 0;  // bit n: option n was on the command line
  for (int argument = 3; argument < ArgumentCount(); argument += 2) {
    std::string_view name = ArgumentWhole(argument);
    int index = 0;
    while (index < OptionCount && Options[index].name != name) ++index;
    if (index == OptionCount)
      RejectQuoted("unknown option ", name,
                   "; the options are --format, --dialect, --colours, --ink, --background,"
                   " --border and --charset.");
    ReadOption(index, ArgumentWhole(argument + 1), settings);
    given = static_cast<uint8_t>(given | 1u << index);
  }
  const std::string_view outputName = ArgumentWhole(2);
  if (settings.format == OutputFormat::Unknown) settings.format = FormatFromName(outputName);
  if (!IsExportFormat(settings.format))
    RejectQuoted("cannot tell the format from the name ", outputName,
                 ": the formats are .prg, .asm (or .s), .seq and .petmate, or --format"
                 " prg|asm|seq|petmate.");
  for (int index = 0; index < OptionCount; ++index) {
    if ((given & 1u << index) != 0 && (Options[index].formats & FormatBit(settings.format)) == 0) {
      ErrorText("Error: ");
      ErrorText(Options[index].name);
      EndRejectedLine(Options[index].appliesTo);
    }
  }
  if ((given & 1u << ColoursIndex) != 0 && (given & 1u << InkIndex) != 0) {
    ErrorText("Error: ");
    ErrorText(InkOption.name);
    EndRejectedLine(InkBesideColours);
  }
  ExportScreenFile(ArgumentWhole(1), outputName, settings);
  EndRun(0);
}
