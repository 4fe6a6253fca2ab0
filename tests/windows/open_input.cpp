// open_input: starts like the program does, opens the file named by its
// first argument as the program opens its input, and checks for a failure
// after every step the way the program does; ends with exit status 0.
#include "console/console_window.h"
#include "files/binary_file.h"
#include "files/io_check.h"

int main(int argc, char** argv) {
  StartFiles();
  StartConsole();
  BinaryFile input;
  BindFileName(input, argc > 1 ? argv[1] : "");
  OpenExistingFile(input);
  CheckIo();
  CloseFile(input);
  CheckIo();
  EndRun(0);
}
