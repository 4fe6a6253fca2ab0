#include "render/render_program.h"

#include "console/console_lines.h"
#include "driver/command_line.h"
#include "driver/short_text.h"
#include "files/io_check.h"
#include "render/render_run.h"

namespace {

[[noreturn]] void ShowUsage() {
  ShortText line{};
  AppendText(line, "Usage: ");
  AppendText(line, TextView(ArgumentText(0)));
  AppendText(line, " <screen.bin> <image.bmp>");
  ShowLine(TextView(line));
  ShowLine("Draws a 1000-byte screen file as a 320x200 black/white BMP image.");
  EndRun(1);
}

}  // namespace

void RunRenderProgram() {
  if (ArgumentCount() != 2) ShowUsage();
  RenderScreenFile(ArgumentWhole(1), ArgumentWhole(2));
  EndRun(0);
}
