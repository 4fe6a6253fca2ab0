#pragma once
#include <cstdint>

// The number of the last failed file operation or console write, 0 when none.
// Operations that find it set do nothing; only CheckIo clears it.
extern uint16_t pendingIoError;

// Returns when nothing failed; otherwise records where it was called from,
// prints the failure report on standard error and ends the process with the
// error number as exit status.
void CheckIo();
