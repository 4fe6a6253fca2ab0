#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Another run of a program, whose standard output and standard error come
// back together as one stream to read (child_posix.cpp, child_win32.cpp).
// Starts the program at path with the words, each one argument as it is;
// null when it cannot be started.
std::FILE* PlatformStartChild(const std::string& path, const std::vector<std::string>& words);

// Waits for the child whose stream that is to end, closes the stream and
// returns its exit status, or -1 when it did not end by itself.
int PlatformEndChild(std::FILE* stream);

// Whether standard error goes to a terminal or console, where a line can
// be drawn over again.
bool PlatformErrorIsTerminal();
