#pragma once
#include <cstdint>

#include "console/text_channel.h"

// The number of the last failed file operation or console write, 0 when none.
// Operations that find it set do nothing; only CheckIo clears it.
extern uint16_t pendingIoError;

// Standard error, where the failure report goes. A program writes its own
// messages about input it turns down here too; every line is handed on as
// it ends, and a failed write sets pendingIoError like any other.
extern TextChannel standardError;

// Returns when nothing failed; otherwise records where it was called from,
// prints the failure report on standard error and ends the process with the
// error number as exit status.
void CheckIo();

// Ends the process with the given status after handing on what waits in the
// text channels. The failure report, if one was recorded, is written first.
[[noreturn]] void EndRun(int32_t status);

// Sets up the standard handles, the standard error channel and the pending
// error; runs before the console is captured.
void StartFiles();
