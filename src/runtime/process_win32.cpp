// Ending the process and walking the call chain on Windows.
#include <windows.h>

#include "runtime/process_platform.h"

void PlatformExitProcess(int32_t status) { ExitProcess(static_cast<UINT>(status)); }

int PlatformCaptureCallChain(uintptr_t* locations, int capacity) {
  // Older systems refuse more than 62 frames in one call.
  constexpr int MaxFrames = 62;
  if (capacity <= 0) return 0;
  void* frames[MaxFrames];
  DWORD wanted = static_cast<DWORD>(capacity < MaxFrames ? capacity : MaxFrames);
  int count = RtlCaptureStackBackTrace(0, wanted, frames, nullptr);
  for (int i = 0; i < count; ++i) locations[i] = reinterpret_cast<uintptr_t>(frames[i]);
  return count;
}
