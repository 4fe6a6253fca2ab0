// The entry of cellglyph-prepare: the standard handles, then the console,
// then the command line, before anything is printed.
#include "console/console_window.h"
#include "prepare/prepare_program.h"
#include "runtime/arguments_platform.h"
#include "runtime/run_end.h"

int main(int argc, char** argv) {
  StartRuntime();
  StartConsole();
  LoadArguments(argc, argv);
  RunPrepareProgram();
}
