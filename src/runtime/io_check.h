#pragma once
#include <cstdint>

// The number of the last failed file operation or write to a handle (such
// as standard error's), 0 when none; drawing in the console never sets it.
// Operations that find it set do nothing; only CheckIo clears it
// (contract: pending I/O error, see docs/design.md).
extern uint16_t pendingIoError;

// Returns when nothing failed; otherwise records where it was called from,
// prints the failure report on standard error and ends the process with the
// error number as exit status.
void CheckIo();
