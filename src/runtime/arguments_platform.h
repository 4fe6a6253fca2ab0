#pragma once

// Fills the argument store of command_line.h from the platform's command
// line, one implementation per platform (arguments_posix.cpp,
// arguments_win32.cpp). argv is used where the shell has split it already.
void LoadArguments(int argc, char** argv);
