#include "run_ended.h"
#include "runtime/process_platform.h"

namespace {
uintptr_t chain[64];
int chainLength = 0;
}  // namespace

void SetCapturedCallChain(const uintptr_t* locations, int count) {
  chainLength = count < 64 ? count : 64;
  for (int i = 0; i < chainLength; ++i) chain[i] = locations[i];
}

void PlatformExitProcess(int32_t status) { throw RunEnded{status}; }

int PlatformCaptureCallChain(uintptr_t* locations, int capacity) {
  int count = chainLength < capacity ? chainLength : capacity;
  for (int i = 0; i < count; ++i) locations[i] = chain[i];
  return count;
}
