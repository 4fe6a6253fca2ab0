// print_arguments: loads the command line as the program does and prints the
// argument count and every argument, argument 0 first, one per line between
// brackets, on standard output. Bytes below 32 are printed as {XX}.
#include <cstdio>

#include "driver/command_line.h"

int main(int argc, char** argv) {
  LoadArguments(argc, argv);
  std::printf("%d\n", ArgumentCount());
  for (int i = 0; i <= ArgumentCount(); ++i) {
    std::string_view word = ArgumentWhole(i);
    std::putchar('[');
    for (char c : word) {
      unsigned char byte = static_cast<unsigned char>(c);
      if (byte < 32)
        std::printf("{%02X}", byte);
      else
        std::putchar(c);
    }
    std::printf("]\n");
  }
  return 0;
}
