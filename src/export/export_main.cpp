// The export program's entry: the standard handles, then the console, then
// the command line, before anything is printed.
#include "console/console_window.h"
#include "driver/command_line.h"
#include "export/export_program.h"
#include "files/io_check.h"

int main(int argc, char** argv) {
  StartFiles();
  StartConsole();
  LoadArguments(argc, argv);
  RunExportProgram();
}
