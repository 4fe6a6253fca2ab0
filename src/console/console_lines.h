#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/text_channel.h"

// The console's channel: bound to the window by StartConsole.
extern TextChannel consoleOutput;

// Write statements on consoleOutput, each piece followed by the I/O check:
// a failed console write ends the run right there. Widths are 0 unless given.
void ShowText(std::string_view text, int32_t width = 0);
void ShowSigned(int64_t value, int32_t width = 0);
void ShowUnsigned(uint64_t value, int32_t width = 0);
void ShowChar(char character, int32_t width = 0);
void ShowStatementEnd();  // hands the statement to the console
void ShowLineEnd();       // ends the line, which also hands it on
void ShowLine(std::string_view text);
