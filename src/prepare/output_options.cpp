#include "prepare/output_options.h"

#include "outputs/png_image.h"
#include "screens/charset_option.h"
#include "screens/colour_options.h"
#include "screens/number_option.h"
#include "screens/rejection_line.h"

namespace {

constexpr uint32_t FormatBit(OutputFormat format) {
  return 1u << static_cast<unsigned>(format);
}

constexpr uint32_t ColourFormats = FormatBit(OutputFormat::Program) |
                                   FormatBit(OutputFormat::PetmateDocument) |
                                   FormatBit(OutputFormat::PngImage) |
                                   FormatBit(OutputFormat::ColourFile);

constexpr NumberOption ScaleOption = {"--scale", SmallestScale, LargestScale,
                                      " takes a scale from 1 to 8, not "};

// Every option, the outputs it means something for, and the end of the
// line that turns it down when none of them is named. An option no output
// uses is turned down rather than ignored, as cellglyph-export does.
struct OutputOption {
  std::string_view name;
  bool takesValue;
  uint32_t formats;
  std::string_view appliesTo;
};

enum OptionIndex : uint8_t { ColourIndex, InkIndex, BorderIndex, DialectIndex, ScaleIndex, CharsetIndex };

constexpr OutputOption Options[] = {
    {"--colour", false, ~0u, ""},
    {InkOption.name, true, ColourFormats | FormatBit(OutputFormat::PrintStream),
     " applies to .prg, .seq, .petmate, .png and .col outputs only."},
    {BorderOption.name, true, ColourFormats & ~FormatBit(OutputFormat::PngImage),
     " applies to .prg, .petmate and .col outputs only."},
    {"--dialect", true, FormatBit(OutputFormat::AssemblerSource),
     " applies to assembler source (.asm, .s) only."},
    {ScaleOption.name, true, FormatBit(OutputFormat::PngImage), " applies to .png outputs only."},
    {CharsetOptionName, true, ~0u, ""},
};

int FindOption(std::string_view name) {
  int index = 0;
  for (const OutputOption& option : Options) {
    if (option.name == name) return index;
    ++index;
  }
  return -1;
}

void RejectOption(std::string_view name, std::string_view why) {
  ErrorText("Error: ");
  ErrorText(name);
  EndRejectedLine(why);
}

}  // namespace

bool IsOutputOption(std::string_view name, bool& takesValue) {
  const int index = FindOption(name);
  if (index < 0) return false;
  takesValue = Options[index].takesValue;
  return true;
}

void SetOutputOption(std::string_view name, std::string_view value, PrepareSettings& settings,
                     uint32_t& given) {
  const int index = FindOption(name);
  given |= 1u << index;
  switch (index) {
    case ColourIndex:
      settings.colour = true;
      break;
    case InkIndex:
      settings.ink = static_cast<int16_t>(ReadOptionValue(InkOption, value));
      break;
    case BorderIndex:
      settings.border = static_cast<int16_t>(ReadOptionValue(BorderOption, value));
      break;
    case DialectIndex:
      if (value == "acme") {
        settings.style.dialect = AsmDialect::Acme;
      } else if (value == "64tass") {
        settings.style.dialect = AsmDialect::DotByte;
      } else {
        RejectQuoted("unknown assembler dialect ", value, "; the dialects are acme and 64tass.");
      }
      break;
    case ScaleIndex:
      settings.style.scale = static_cast<uint8_t>(ReadOptionValue(ScaleOption, value));
      break;
    default:
      settings.style.set = ReadCharsetValue(value);
      break;
  }
}

void SettleOutputs(PrepareOutputs& outputs, const PrepareSettings& settings, uint32_t given) {
  uint32_t named = 0;  // bit n: an output of format n is named
  for (int i = 0; i < outputs.count; ++i) {
    OutputFormat format = FormatFromName(outputs.names[i]);
    if (format == OutputFormat::Unknown && outputs.count == 1) format = OutputFormat::BmpImage;
    if (format == OutputFormat::Unknown)
      RejectQuoted("cannot tell the format from the name ", outputs.names[i],
                   ": the formats are .bmp, .bin, .col, .prg, .asm (or .s), .seq, .petmate and"
                   " .png.");
    if (format == OutputFormat::PngImage && !PngOutputAvailable)
      RejectQuoted("cannot write ", outputs.names[i],
                   ": this build has no PNG output (built without libpng).");
    outputs.formats[i] = format;
    named |= FormatBit(format);
  }
  int index = 0;
  for (const OutputOption& option : Options) {
    if ((given & 1u << index) != 0 && (option.formats & named) == 0)
      RejectOption(option.name, option.appliesTo);
    ++index;
  }
  if (settings.style.set == CharacterSet::Lower && (named & FormatBit(OutputFormat::BmpImage)) != 0)
    EndRejectedLine("Error: a .bmp output goes with the upper-case set only: cellglyph matches its"
                    " pixels against that set.");
  if (settings.colour && (given & 1u << InkIndex) != 0)
    RejectOption(InkOption.name, " does not go with --colour: each cell's ink is chosen with it.");
  if (settings.background != NoColourGiven && !settings.colour && (named & ColourFormats) == 0)
    RejectOption(BackgroundOption.name,
                 " applies to colour screens (--colour) and to .prg, .petmate, .png and .col"
                 " outputs only.");
}
