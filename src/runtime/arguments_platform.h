#pragma once
#include <cstddef>
#include <string_view>

#include "runtime/short_text.h"

// The platform's command line and how its words are shown, one
// implementation per platform (arguments_posix.cpp, arguments_win32.cpp).

// Fills the argument store of command_line.h from the platform's command
// line. argv is used where the shell has split it already.
void LoadArguments(int argc, char** argv);

// A word of the command line, such as a file name, as the program shows it:
// text holds its first 255 characters in the program's code page 1252, and
// length counts every character of it as shown, which the 255-character
// rules for names go by. The word itself, byte for byte, is what opens a
// file.
struct ShownName {
  ShortText text;
  size_t length;
};
ShownName ShowName(std::string_view name);
