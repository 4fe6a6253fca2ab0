// Ending the process and walking the call chain on Linux and macOS.
#include <execinfo.h>
#include <unistd.h>

#include "runtime/process_platform.h"

void PlatformExitProcess(int32_t status) { ::_exit(status & 0xFF); }

int PlatformCaptureCallChain(uintptr_t* locations, int capacity) {
  void* frames[64];
  int count = ::backtrace(frames, capacity < 64 ? capacity : 64);
  for (int i = 0; i < count; ++i) locations[i] = reinterpret_cast<uintptr_t>(frames[i]);
  return count;
}
