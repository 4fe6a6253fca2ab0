#include "render/render_program.h"

#include "outputs/png_image.h"
#include "render/render_run.h"
#include "runtime/command_line.h"
#include "runtime/run_end.h"
#include "screens/charset_option.h"
#include "screens/colour_options.h"
#include "screens/program_help.h"
#include "screens/rejection_line.h"

namespace {

constexpr UsageLine RenderUsage[] = {
    {"Usage: ", true, " <screen.bin> <image.bmp>"},
    {"", false, "Draws a 1000-byte screen file as a 320x200 black/white BMP image."},
    {"       ", true, " <screen.bin> <image.png> [--scale 1-8] [--colours <colours.bin>]"},
    {"", false, "         [--ink 0-15] [--background 0-15] [--charset upper|lower]"},
    {"", false, "Draws it as a PNG image in C64 colours, in one ink or in those of a 1002-byte"},
    {"", false, "colour file, scaled 2x unless told."},
};
constexpr ProgramHelp RenderHelp = {"cellglyph-render", RenderUsage};

bool EndsWithPng(std::string_view name) {
  if (name.size() < 4) return false;
  std::string_view extension = name.substr(name.size() - 4);
  return extension[0] == '.' && (extension[1] | 0x20) == 'p' && (extension[2] | 0x20) == 'n' &&
         (extension[3] | 0x20) == 'g';
}

constexpr NumberOption ScaleOption = {"--scale", SmallestScale, LargestScale,
                                      " takes a scale from 1 to 8, not "};

// Every option's values fit in a byte.
uint8_t ReadSetting(const NumberOption& option, std::string_view value) {
  return static_cast<uint8_t>(ReadOptionValue(option, value));
}

}  // namespace

void RunRenderProgram() {
  AnswerHelpOrVersion(RenderHelp);
  // The screen and the image, then options in pairs of name and value.
  if (ArgumentCount() < 2 || ArgumentCount() % 2 != 0) RejectCommandLine(RenderHelp);
  RenderSettings settings{EndsWithPng(ArgumentWhole(2)), DefaultScale, StartupInk,
                          StartupBackground, false, false, {}, CharacterSet::Upper};
  bool inkGiven = false;
  for (int index = 3; index < ArgumentCount(); index += 2) {
    std::string_view name = ArgumentWhole(index);
    std::string_view value = ArgumentWhole(index + 1);
    if (name == ScaleOption.name) {
      settings.scale = ReadSetting(ScaleOption, value);
    } else if (name == ColoursOptionName) {
      settings.colourFileGiven = true;
      settings.colourFileName = value;
    } else if (name == InkOption.name) {
      settings.ink = ReadSetting(InkOption, value);
      inkGiven = true;
    } else if (name == BackgroundOption.name) {
      settings.background = ReadSetting(BackgroundOption, value);
      settings.backgroundGiven = true;
    } else if (name == CharsetOptionName) {
      settings.set = ReadCharsetValue(value);
    } else {
      RejectQuoted("unknown option ", name,
                   "; the options are --scale, --colours, --ink, --background and --charset.");
    }
    if (!settings.png) {
      ErrorText("Error: ");
      ErrorText(name);
      EndRejectedLine(" applies to PNG images only: name the image .png.");
    }
  }
  if (inkGiven && settings.colourFileGiven) {
    ErrorText("Error: ");
    ErrorText(InkOption.name);
    EndRejectedLine(InkBesideColours);
  }
  if (settings.png && !PngOutputAvailable) {
    RejectQuoted("cannot write ", ArgumentWhole(2),
                 ": this build of the renderer has no PNG output (built without libpng).");
  }
  RenderScreenFile(ArgumentWhole(1), ArgumentWhole(2), settings);
  EndRun(0);
}
