#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/text_channel.h"

// The console's channel: bound to the window by StartConsole.
extern TextChannel consoleOutput;

// Write statements on consoleOutput, each piece followed by the I/O check
// (contract: pending I/O error, see docs/design.md).
// Drawing never fails a run: what the console does not take is lost, and no
// error is left pending. The check ends the run only on an error left
// pending by something else, or on a write before StartConsole, when the
// channel is not open yet (FileNotOpen). Widths are 0 unless given.
void ShowText(std::string_view text, int32_t width = 0);
void ShowSigned(int64_t value, int32_t width = 0);
void ShowUnsigned(uint64_t value, int32_t width = 0);
void ShowChar(char character, int32_t width = 0);
void ShowStatementEnd();  // hands the statement to the console
void ShowLineEnd();       // ends the line, which also hands it on
void ShowLine(std::string_view text);

// A line naming a file: before, the name in double quotes with its first
// 255 characters as the platform shows them, then after. The file itself is
// always opened under the whole name.
void ShowNamedLine(std::string_view before, std::string_view name, std::string_view after);
