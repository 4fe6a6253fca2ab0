#include "prepare/prepare_program.h"

#include "prepare/prepare_run.h"
#include "runtime/command_line.h"
#include "runtime/run_end.h"
#include "screens/colour_options.h"
#include "screens/number_option.h"
#include "screens/program_help.h"
#include "screens/rejection_line.h"

namespace {

constexpr UsageLine PrepareUsage[] = {
    {"Usage: ", true, " <picture> <out.bmp> [--fit cover|contain|stretch] [--invert]"},
    {"", false, "         [--dirart] [--all-glyphs] [--method glyphs|diffuse|threshold]"},
    {"", false, "         [--brightness -100-100] [--contrast -100-100]"},
    {"", false, "         [--colours <out.col> [--background 0-15]]"},
    {"", false, "Turns a picture (PNG, JPEG, GIF, BMP, TIFF, WebP, ...) into the 320x200 1-bit"},
    {"", false, "BMP that cellglyph converts, chosen to look as much like the picture as the"},
    {"", false, "characters allow. The light parts become the characters, unless --invert."},
    {"", false, "With --colours each cell also gets an ink colour, written to the colour file."},
    {"", false, "Letters, digits and @ # $ % & are held back from shading unless --all-glyphs."},
};
constexpr ProgramHelp PrepareHelp = {"cellglyph-prepare", PrepareUsage};

// A word an option takes, and what it sets.
template <typename Value>
struct Choice {
  std::string_view word;
  Value value;
};

constexpr Choice<FitMode> FitChoices[] = {
    {"cover", FitMode::Cover}, {"contain", FitMode::Contain}, {"stretch", FitMode::Stretch}};
constexpr Choice<PrepareMethod> MethodChoices[] = {{"glyphs", PrepareMethod::Glyphs},
                                                   {"diffuse", PrepareMethod::Diffuse},
                                                   {"threshold", PrepareMethod::Threshold}};

template <typename Value, size_t Count>
Value ReadChoice(const Choice<Value> (&choices)[Count], std::string_view value,
                 std::string_view what, std::string_view words) {
  for (const Choice<Value>& choice : choices)
    if (choice.word == value) return choice.value;
  ErrorText("Error: unknown ");
  ErrorText(what);
  ErrorText(" ");
  ErrorQuoted(value);
  ErrorText("; ");
  EndRejectedLine(words);
}

constexpr std::string_view TakesTone = " takes a number from -100 to 100, not ";
constexpr NumberOption BrightnessOption = {"--brightness", 0, 100, TakesTone};
constexpr NumberOption ContrastOption = {"--contrast", 0, 100, TakesTone};

// A tone setting: a number of up to three digits with an optional minus sign.
int16_t ReadTone(const NumberOption& option, std::string_view value) {
  const bool negative = !value.empty() && value[0] == '-';
  int32_t number = 0;
  if (!ReadNumberWord(negative ? value.substr(1) : value, option.lowest, option.highest, number)) {
    ErrorText("Error: ");
    ErrorText(option.name);
    ErrorText(option.takes);
    ErrorQuoted(value);
    EndRejectedLine(".");
  }
  return static_cast<int16_t>(negative ? -number : number);
}

// The options; those marked takesValue read the next word.
enum class Option : uint8_t {
  Fit, Method, Invert, Dirart, AllGlyphs, Brightness, Contrast, Colours, Background
};

struct OptionWord {
  std::string_view name;
  Option option;
  bool takesValue;
};

constexpr OptionWord Options[] = {
    {"--fit", Option::Fit, true},         {"--method", Option::Method, true},
    {"--invert", Option::Invert, false},  {"--dirart", Option::Dirart, false},
    {"--all-glyphs", Option::AllGlyphs, false},
    {"--brightness", Option::Brightness, true}, {"--contrast", Option::Contrast, true},
    {"--colours", Option::Colours, true},       {"--background", Option::Background, true},
};

void SetOption(Option option, std::string_view value, PrepareSettings& settings) {
  switch (option) {
    case Option::Fit:
      settings.fit = ReadChoice(FitChoices, value, "fit", "the fits are cover, contain and stretch.");
      break;
    case Option::Method:
      settings.method = ReadChoice(MethodChoices, value, "method",
                                   "the methods are glyphs, diffuse and threshold.");
      break;
    case Option::Invert:
      settings.darkPartsDrawn = true;
      break;
    case Option::Dirart:
      settings.normalGlyphsOnly = true;
      break;
    case Option::AllGlyphs:
      settings.allGlyphsAlike = true;
      break;
    case Option::Brightness:
      settings.tone.brightness = ReadTone(BrightnessOption, value);
      break;
    case Option::Contrast:
      settings.tone.contrast = ReadTone(ContrastOption, value);
      break;
    case Option::Colours:
      if (value.empty()) EndRejectedLine("Error: --colours needs a file name.");
      settings.coloursName = value;
      break;
    case Option::Background:
      settings.background = static_cast<int16_t>(ReadOptionValue(BackgroundOption, value));
      break;
  }
}

}  // namespace

void RunPrepareProgram() {
  AnswerHelpOrVersion(PrepareHelp);
  if (ArgumentCount() < 2) RejectCommandLine(PrepareHelp);
  PrepareSettings settings = DefaultPrepareSettings;
  for (int index = 3; index <= ArgumentCount(); ++index) {
    const std::string_view name = ArgumentWhole(index);
    const OptionWord* found = nullptr;
    for (const OptionWord& word : Options)
      if (word.name == name) found = &word;
    if (found == nullptr)
      RejectQuoted("unknown option ", name,
                   "; the options are --fit, --method, --invert, --dirart, --all-glyphs, "
                   "--brightness, --contrast, --colours and --background.");
    std::string_view value;
    if (found->takesValue) {
      if (index == ArgumentCount()) {
        ErrorText("Error: ");
        ErrorText(name);
        EndRejectedLine(" needs a value.");
      }
      value = ArgumentWhole(++index);
    }
    SetOption(found->option, value, settings);
  }
  if (settings.background != NoColourGiven && settings.coloursName.empty())
    EndRejectedLine("Error: --background applies to colour screens only: add --colours <file>.");
  if (!settings.coloursName.empty() && settings.method != PrepareMethod::Glyphs)
    EndRejectedLine("Error: --colours works with the glyphs method only.");
  PreparePicture(ArgumentWhole(1), ArgumentWhole(2), settings);
  EndRun(0);
}
