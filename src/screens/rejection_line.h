#pragma once
#include <string_view>

// The one line on standard error with which a program turns its command
// line or its input down, written in pieces: ErrorText as it is,
// ErrorQuoted a value in double quotes, with its first 255 characters as
// names are shown. The piece that ends the line ends the run with status 1.
// When standard error cannot take the line, the I/O check ends the run
// with that failure's number instead.
void ErrorText(std::string_view text);
void ErrorQuoted(std::string_view value);
[[noreturn]] void EndRejectedLine(std::string_view text);

// The whole line: Error: before"value"after.
[[noreturn]] void RejectQuoted(std::string_view before, std::string_view value,
                               std::string_view after);
