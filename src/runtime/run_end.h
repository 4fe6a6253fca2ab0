#pragma once
#include <cstdint>

#include "runtime/text_channel.h"

// Standard error, where the failure report goes. A program writes its own
// messages about input it turns down here too; every line is handed on as
// it ends, and a failed write sets pendingIoError like any other.
extern TextChannel standardError;

// Sets up the standard handles, the standard error channel and the pending
// error; runs before the console is captured and before anything is written.
void StartRuntime();

// What EndRun calls to hand on text the console still holds. The console
// registers it when it starts; the runtime knows nothing else of the console.
using ConsoleFlush = void (*)();
void SetConsoleFlush(ConsoleFlush flush);

// Keeps a failure for the report that EndRun writes: its number, the code
// location that found it, and the callers beyond that location
// (contract: failure report, see docs/design.md).
void RecordFailure(uint16_t number, uintptr_t location);

// Ends the process with the given status after handing on what waits in the
// console and on standard error. The failure report, if one was recorded,
// is written first.
[[noreturn]] void EndRun(int32_t status);
