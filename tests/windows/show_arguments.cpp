// show_arguments: starts like the program does (standard handles, console,
// command line), then draws each argument on a line of its own through the
// console output and ends with exit status 0. Lets a test see how the real
// console layer draws any text it can put on a command line.
#include "console/console_lines.h"
#include "console/console_window.h"
#include "runtime/arguments_platform.h"
#include "runtime/command_line.h"
#include "runtime/run_end.h"

int main(int argc, char** argv) {
  StartRuntime();
  StartConsole();
  LoadArguments(argc, argv);
  for (int i = 1; i <= ArgumentCount(); ++i) ShowLine(TextView(ArgumentText(i)));
  EndRun(0);
}
