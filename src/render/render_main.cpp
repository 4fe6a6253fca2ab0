// The renderer's entry: the standard handles, then the console, then the
// command line, before anything is printed.
#include "console/console_window.h"
#include "driver/command_line.h"
#include "files/io_check.h"
#include "render/render_program.h"

int main(int argc, char** argv) {
  StartFiles();
  StartConsole();
  LoadArguments(argc, argv);
  RunRenderProgram();
}
