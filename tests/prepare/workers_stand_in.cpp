// Threads as many as a test asks for, in place of the platform's count.
#include <thread>
#include <vector>

#include "prepare_test_workers.h"
#include "runtime/workers_platform.h"

int standInWorkers = 1;

int PlatformWorkerCount() { return standInWorkers; }

void PlatformRunTogether(int count, void (*work)(int, void*), void* context) {
  std::vector<std::thread> threads;
  for (int part = 1; part < count; ++part) threads.emplace_back(work, part, context);
  work(0, context);
  for (std::thread& thread : threads) thread.join();
}
