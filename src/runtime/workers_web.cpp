// The page's engine runs the program on one thread: the parts run one
// after another.
#include "runtime/workers_platform.h"

int PlatformWorkerCount() { return 1; }

void PlatformRunTogether(int count, void (*work)(int, void*), void* context) {
  for (int part = 0; part < count; ++part) work(part, context);
}
