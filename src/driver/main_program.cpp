#include "driver/main_program.h"

#include "console/console_lines.h"
#include "driver/conversion_run.h"
#include "driver/run_state.h"
#include "runtime/command_line.h"
#include "runtime/error_numbers.h"
#include "runtime/run_end.h"

namespace {

void ShowComposedLine(std::string_view first, std::string_view middle, std::string_view last) {
  ShortText line{};
  AppendText(line, first);
  AppendText(line, middle);
  AppendText(line, last);
  ShowLine(TextView(line));
}

[[noreturn]] void ShowUsage() {
  ShortText program = ArgumentText(0);
  ShowLine(
      "Description: Reads a black/white (1bit/pixel) 320x200 pixel bmp and converts it to a "
      "PETSCII binary.");
  ShowComposedLine("Usage: ", TextView(program),
                   " <inname.bmp> <outname.bin> <\"dirart\" for dirart, limited charset> "
                   "<samebit limit 0-64>");
  ShowComposedLine("Example: ", TextView(program), " bob.bmp bob.bin normal 56");
  EndRun(RunRejected);
}

}  // namespace

void RunMainProgram() {
  ShowLine("cellglyph v0.2 [07.02.2017] *** by Tamblin");
  if (ArgumentCount() != 4) ShowUsage();
  dirartMode = false;
  if (TextView(ArgumentText(3)) == "dirart") {
    ShowLine("*** dirart selected, not using reverse characters");
    dirartMode = true;
  }
  RunConversion(ArgumentWhole(1), ArgumentWhole(2), ArgumentWhole(4));
  EndRun(0);
}
