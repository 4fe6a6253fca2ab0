#include "prepare/prepare_program.h"

#include "prepare/batch_run.h"
#include "prepare/output_options.h"
#include "prepare/prepare_run.h"
#include "runtime/command_line.h"
#include "runtime/run_end.h"
#include "screens/colour_options.h"
#include "screens/number_option.h"
#include "screens/program_help.h"
#include "screens/rejection_line.h"

namespace {

constexpr UsageLine PrepareUsage[] = {
    {"Usage: ", true, " <picture> <output>... [--fit cover|contain|stretch] [--invert]"},
    {"", false, "         [--dirart] [--all-glyphs] [--method glyphs|diffuse|threshold]"},
    {"", false, "         [--brightness -100-100] [--contrast -100-100]"},
    {"", false, "         [--colour] [--colours <out.col>] [--background 0-15]"},
    {"", false, "         [--ink 0-15] [--border 0-15] [--dialect acme|64tass] [--scale 1-8]"},
    {"", false, "         [--charset upper|lower]"},
    {"", false, "Turns a picture (PNG, JPEG, GIF, BMP, TIFF, WebP, ...) into a C64 screen, chosen"},
    {"", false, "to look as much like the picture as the characters allow, and writes each output"},
    {"", false, "in the format its name ends in: .bmp (the 320x200 1-bit picture cellglyph"},
    {"", false, "converts), .bin (screen codes), .col (colours), .prg, .asm, .s, .seq, .petmate"},
    {"", false, "or .png. The light parts become the characters, unless --invert. With --colour"},
    {"", false, "each cell also gets an ink colour; --colours also writes them to a colour file."},
    {"", false, "Letters, digits and @ # $ % & are held back from shading unless --all-glyphs."},
    {"       ", true, " -o <folder> [--format prg,png,...] [options] <picture|folder>..."},
    {"", false, "Converts many pictures, on every core, into the folder: the outputs of each in"},
    {"", false, "the formats named (prg unless told), named after it."},
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
      settings.colour = true;
      break;
    case Option::Background:
      settings.background = static_cast<int16_t>(ReadOptionValue(BackgroundOption, value));
      break;
  }
}

bool IsOptionWord(std::string_view word) { return word.substr(0, 2) == "--"; }

// Reads the option at index, and its value where it takes one, into
// settings; returns the index of the last word it used.
int ReadOptionAt(int index, PrepareSettings& settings, uint32_t& outputOptionsGiven) {
  const std::string_view name = ArgumentWhole(index);
  const OptionWord* found = nullptr;
  for (const OptionWord& word : Options)
    if (word.name == name) found = &word;
  bool takesValue = found != nullptr && found->takesValue;
  const bool outputOption = found == nullptr && IsOutputOption(name, takesValue);
  if (found == nullptr && !outputOption)
    RejectQuoted("unknown option ", name,
                 "; the options are --fit, --method, --invert, --dirart, --all-glyphs, "
                 "--brightness, --contrast, --colour, --colours, --background, --ink, --border,"
                 " --dialect, --scale, --charset, --output-folder and --format.");
  std::string_view value;
  if (takesValue) {
    if (index == ArgumentCount()) {
      ErrorText("Error: ");
      ErrorText(name);
      EndRejectedLine(" needs a value.");
    }
    value = ArgumentWhole(++index);
  }
  if (outputOption) {
    SetOutputOption(name, value, settings, outputOptionsGiven);
  } else {
    SetOption(found->option, value, settings);
  }
  return index;
}

void RejectMethodBesideColour(const PrepareSettings& settings) {
  if (settings.colour && settings.method != PrepareMethod::Glyphs)
    EndRejectedLine(settings.coloursName.empty()
                        ? "Error: --colour works with the glyphs method only."
                        : "Error: --colours works with the glyphs method only.");
}

// The batch's options: the folder the outputs go into, their formats.
constexpr std::string_view FolderOptionNames[] = {"-o", "--output-folder"};
constexpr std::string_view FormatOptionName = "--format";

bool IsFolderOption(std::string_view word) {
  return word == FolderOptionNames[0] || word == FolderOptionNames[1];
}

bool AsksForBatch() {
  for (int index = 1; index <= ArgumentCount(); ++index)
    if (IsFolderOption(ArgumentWhole(index)) || ArgumentWhole(index) == WorkerOptionName)
      return true;
  return false;
}

// The formats of --format: words of FormatFromWord between commas.
void ReadFormats(std::string_view list, BatchRequest& request) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view word = list.substr(0, comma);
    const OutputFormat format = FormatFromWord(word);
    if (format == OutputFormat::Unknown)
      RejectQuoted("unknown format ", word,
                   "; the formats are bmp, bin, col, prg, asm, seq, petmate and png.");
    if (request.formats.size() == MostOutputs) EndRejectedLine("Error: at most 16 formats.");
    request.formats.push_back(format);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
  }
}

// prepare -o FOLDER [--format prg,png,...] [options] PICTURE|FOLDER...
[[noreturn]] void RunBatchProgram() {
  PrepareSettings settings = DefaultPrepareSettings;
  BatchRequest request;
  bool worker = false;
  uint32_t outputOptionsGiven = 0;
  for (int index = 1; index <= ArgumentCount(); ++index) {
    const std::string_view word = ArgumentWhole(index);
    const int first = index;
    if (word == WorkerOptionName) {
      worker = true;
      continue;
    }
    if (IsFolderOption(word) || word == FormatOptionName) {
      if (index == ArgumentCount()) {
        ErrorText("Error: ");
        ErrorText(word);
        EndRejectedLine(" needs a value.");
      }
      const std::string_view value = ArgumentWhole(++index);
      if (word == FormatOptionName) {
        ReadFormats(value, request);
      } else {
        request.folder = value;
      }
    } else if (IsOptionWord(word)) {
      index = ReadOptionAt(index, settings, outputOptionsGiven);
    } else {
      request.inputs.emplace_back(word);
      continue;
    }
    for (int used = first; used <= index; ++used) request.optionWords.emplace_back(ArgumentWhole(used));
  }
  if (request.folder.empty()) EndRejectedLine("Error: --worker needs --output-folder.");
  if (request.formats.empty()) request.formats.push_back(OutputFormat::Program);
  if (!settings.coloursName.empty())
    EndRejectedLine("Error: --colours names one file; for many pictures add col to --format.");
  if (request.inputs.empty()) RejectCommandLine(PrepareHelp);
  // The option rules of one picture, for outputs of the formats asked for.
  std::string names[MostOutputs];
  PrepareOutputs outputs{};
  for (OutputFormat format : request.formats) {
    names[outputs.count] = "picture." + std::string(ExtensionOf(format));
    outputs.names[outputs.count] = names[outputs.count];
    ++outputs.count;
  }
  SettleOutputs(outputs, settings, outputOptionsGiven);
  RejectMethodBesideColour(settings);
  if (worker) RunBatchWorker(request, settings);
  RunBatch(request, settings);
}

}  // namespace

void RunPrepareProgram() {
  AnswerHelpOrVersion(PrepareHelp);
  if (ArgumentCount() < 2) RejectCommandLine(PrepareHelp);
  if (AsksForBatch()) RunBatchProgram();
  PrepareSettings settings = DefaultPrepareSettings;
  // The picture, the outputs up to the first option, then the options.
  PrepareOutputs outputs{};
  int index = 2;
  for (; index <= ArgumentCount() && !IsOptionWord(ArgumentWhole(index)); ++index) {
    if (outputs.count == MostOutputs)
      EndRejectedLine("Error: at most 16 outputs a picture.");
    outputs.names[outputs.count++] = ArgumentWhole(index);
  }
  if (outputs.count == 0) RejectCommandLine(PrepareHelp);
  uint32_t outputOptionsGiven = 0;
  for (; index <= ArgumentCount(); ++index)
    index = ReadOptionAt(index, settings, outputOptionsGiven);
  SettleOutputs(outputs, settings, outputOptionsGiven);
  RejectMethodBesideColour(settings);
  PreparePicture(ArgumentWhole(1), outputs, settings);
  EndRun(0);
}
