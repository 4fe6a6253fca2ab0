#include "render/render_program.h"

#include "console/console_lines.h"
#include "render/c64_colours.h"
#include "render/png_image.h"
#include "render/render_run.h"
#include "runtime/arguments_platform.h"
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
  AppendText(line, " <screen.bin> <image.bmp>");
  ShowLine(TextView(line));
  ShowLine("Draws a 1000-byte screen file as a 320x200 black/white BMP image.");
  line = ShortText{};
  AppendText(line, "       ");
  AppendText(line, TextView(ArgumentText(0)));
  AppendText(line, " <screen.bin> <image.png> [--scale 1-8] [--ink 0-15] [--background 0-15]");
  ShowLine(TextView(line));
  ShowLine("Draws it as a PNG image in C64 colours, scaled 2x unless told.");
  EndRun(RunRejected);
}

// A line on standard error, in pieces: values are shown in quotes with
// their first 255 characters. The line ends the run.
void ErrorText(std::string_view text) { WriteText(standardError, 0, text); }

void ErrorQuoted(std::string_view value) {
  ErrorText("\"");
  ErrorText(TextView(ShowName(value).text));
  ErrorText("\"");
}

[[noreturn]] void EndRejectedLine(std::string_view text) {
  ErrorText(text);
  EndLine(standardError);
  CheckIo();
  EndRun(RunRejected);
}

bool EndsWithPng(std::string_view name) {
  if (name.size() < 4) return false;
  std::string_view extension = name.substr(name.size() - 4);
  return extension[0] == '.' && (extension[1] | 0x20) == 'p' && (extension[2] | 0x20) == 'n' &&
         (extension[3] | 0x20) == 'g';
}

struct NumberOption {
  std::string_view name;
  int32_t lowest;
  int32_t highest;
  std::string_view takes;  // what the value must be, for the message
};

constexpr NumberOption ScaleOption = {"--scale", SmallestScale, LargestScale,
                                      " takes a scale from 1 to 8, not "};
constexpr NumberOption InkOption = {"--ink", 0, 15, " takes a colour number from 0 to 15, not "};
constexpr NumberOption BackgroundOption = {"--background", 0, 15,
                                           " takes a colour number from 0 to 15, not "};

uint8_t ReadOptionValue(const NumberOption& option, std::string_view value) {
  int32_t number = 0;
  if (!ReadNumberWord(value, option.lowest, option.highest, number)) {
    ErrorText("Error: ");
    ErrorText(option.name);
    ErrorText(option.takes);
    ErrorQuoted(value);
    EndRejectedLine(".");
  }
  return static_cast<uint8_t>(number);
}

}  // namespace

void RunRenderProgram() {
  // The screen and the image, then options in pairs of name and value.
  if (ArgumentCount() < 2 || ArgumentCount() % 2 != 0) ShowUsage();
  RenderSettings settings{EndsWithPng(ArgumentWhole(2)), DefaultScale, StartupInk,
                          StartupBackground};
  for (int index = 3; index < ArgumentCount(); index += 2) {
    std::string_view name = ArgumentWhole(index);
    std::string_view value = ArgumentWhole(index + 1);
    if (name == ScaleOption.name) {
      settings.scale = ReadOptionValue(ScaleOption, value);
    } else if (name == InkOption.name) {
      settings.ink = ReadOptionValue(InkOption, value);
    } else if (name == BackgroundOption.name) {
      settings.background = ReadOptionValue(BackgroundOption, value);
    } else {
      ErrorText("Error: unknown option ");
      ErrorQuoted(name);
      EndRejectedLine("; the options are --scale, --ink and --background.");
    }
    if (!settings.png) {
      ErrorText("Error: ");
      ErrorText(name);
      EndRejectedLine(" applies to PNG images only: name the image .png.");
    }
  }
  if (settings.png && !PngOutputAvailable) {
    ErrorText("Error: cannot write ");
    ErrorQuoted(ArgumentWhole(2));
    EndRejectedLine(": this build of the renderer has no PNG output (built without libpng).");
  }
  RenderScreenFile(ArgumentWhole(1), ArgumentWhole(2), settings);
  EndRun(0);
}
