// Threads on Windows.
#include <windows.h>

#include "runtime/workers_platform.h"

namespace {

constexpr int MostParts = 64;

struct Part {
  void (*work)(int, void*);
  void* context;
  int number;
};

DWORD WINAPI RunPart(LPVOID argument) {
  const Part& part = *static_cast<const Part*>(argument);
  part.work(part.number, part.context);
  return 0;
}

}  // namespace

int PlatformWorkerCount() {
  const DWORD active = ::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  return active < 1 ? 1 : (active > MostParts ? MostParts : static_cast<int>(active));
}

void PlatformRunTogether(int count, void (*work)(int, void*), void* context) {
  Part parts[MostParts];
  HANDLE threads[MostParts] = {};
  if (count > MostParts) count = MostParts;
  for (int i = 1; i < count; ++i) {
    parts[i] = {work, context, i};
    threads[i] = ::CreateThread(nullptr, 0, RunPart, &parts[i], 0, nullptr);
  }
  work(0, context);
  for (int i = 1; i < count; ++i) {
    if (threads[i] == nullptr) {
      work(i, context);
      continue;
    }
    ::WaitForSingleObject(threads[i], INFINITE);
    ::CloseHandle(threads[i]);
  }
}
