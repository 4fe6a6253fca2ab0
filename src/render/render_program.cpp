#include "render/render_program.h"

#include "console/console_lines.h"
#include "render/render_run.h"
#include "runtime/command_line.h"
#include "runtime/error_numbers.h"
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
  EndRun(RunRejected);
}

}  // namespace

void RunRenderProgram() {
  if (ArgumentCount() != 2) ShowUsage();
  RenderScreenFile(ArgumentWhole(1), ArgumentWhole(2));
  EndRun(0);
}
