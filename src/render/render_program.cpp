#include "render/render_program.h"

#include "console/console_lines.h"
#include "render/png_image.h"
#include "render/render_run.h"
#include "runtime/command_line.h"
#include "runtime/error_numbers.h"
#include "runtime/run_end.h"
#include "runtime/short_text.h"
#include "screens/colour_options.h"
#include "screens/rejection_line.h"

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
  // The screen and the image, then options in pairs of name and value.
  if (ArgumentCount() < 2 || ArgumentCount() % 2 != 0) ShowUsage();
  RenderSettings settings{EndsWithPng(ArgumentWhole(2)), DefaultScale, StartupInk,
                          StartupBackground};
  for (int index = 3; index < ArgumentCount(); index += 2) {
    std::string_view name = ArgumentWhole(index);
    std::string_view value = ArgumentWhole(index + 1);
    if (name == ScaleOption.name) {
      settings.scale = ReadSetting(ScaleOption, value);
    } else if (name == InkOption.name) {
      settings.ink = ReadSetting(InkOption, value);
    } else if (name == BackgroundOption.name) {
      settings.background = ReadSetting(BackgroundOption, value);
    } else {
      RejectQuoted("unknown option ", name, "; the options are --scale, --ink and --background.");
    }
    if (!settings.png) {
      ErrorText("Error: ");
      ErrorText(name);
      EndRejectedLine(" applies to PNG images only: name the image .png.");
    }
  }
  if (settings.png && !PngOutputAvailable) {
    RejectQuoted("cannot write ", ArgumentWhole(2),
                 ": this build of the renderer has no PNG output (built without libpng).");
  }
  RenderScreenFile(ArgumentWhole(1), ArgumentWhole(2), settings);
  EndRun(0);
}
