#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/short_text.h"

// Cuts a command line into words: blanks and every character below them
// separate words, double quotes group them ("" inside a word is dropped, a
// lone "" is an empty word). storage must hold line.size() bytes; the words
// point into it. Returns the number of words found, at most capacity.
int SplitCommandLine(std::string_view line, char* storage, std::string_view* words,
                     int capacity);

// Reads a whole text as an integer: optional blanks, sign and base prefix
// ($ x X 0x 0X for 16, % for 2, & for 8), then digits to the very end.
// Anything else, or a magnitude that does not fit, gives 0
// (contract: limit syntax, see docs/design.md).
int64_t ParseInteger(std::string_view text);

// The arguments of this run. The words point into storage that outlives the
// run; argument 0 is the program's own path.
void SetArguments(std::string_view programPath, const std::string_view* words, int count);
int ArgumentCount();                     // arguments after the program path
ShortText ArgumentText(int index);       // its first 255 characters as shown; empty past the count
std::string_view ArgumentWhole(int index);
