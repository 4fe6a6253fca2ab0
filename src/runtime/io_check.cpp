#include "runtime/io_check.h"

#include "runtime/error_numbers.h"
#include "runtime/run_end.h"

uint16_t pendingIoError = NoIoError;

// Not inlined: the failure report names the return address of this call,
// which must be the statement of the caller that found the failure.
__attribute__((noinline)) void CheckIo() {
  if (pendingIoError == NoIoError) return;
  uint16_t number = pendingIoError;
  pendingIoError = NoIoError;
  RecordFailure(number, reinterpret_cast<uintptr_t>(__builtin_return_address(0)));
  EndRun(number);
}
