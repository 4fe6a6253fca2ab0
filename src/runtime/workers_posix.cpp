// Threads on Linux and macOS.
#include <pthread.h>
#include <unistd.h>

#include "runtime/workers_platform.h"

namespace {

constexpr int MostParts = 64;

struct Part {
  void (*work)(int, void*);
  void* context;
  int number;
};

void* RunPart(void* argument) {
  const Part& part = *static_cast<const Part*>(argument);
  part.work(part.number, part.context);
  return nullptr;
}

}  // namespace

int PlatformWorkerCount() {
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  return online < 1 ? 1 : (online > MostParts ? MostParts : static_cast<int>(online));
}

void PlatformRunTogether(int count, void (*work)(int, void*), void* context) {
  Part parts[MostParts];
  pthread_t threads[MostParts];
  bool started[MostParts] = {};
  if (count > MostParts) count = MostParts;
  for (int i = 1; i < count; ++i) {
    parts[i] = {work, context, i};
    started[i] = ::pthread_create(&threads[i], nullptr, RunPart, &parts[i]) == 0;
  }
  work(0, context);
  for (int i = 1; i < count; ++i)
    if (started[i])
      ::pthread_join(threads[i], nullptr);
    else
      work(i, context);
}
