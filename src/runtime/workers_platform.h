#pragma once

// Work shared among threads of this process (workers_posix.cpp,
// workers_win32.cpp, workers_web.cpp).

// How many threads may usefully run at once: the processors this process
// may use, at least 1. The page's engine has one.
int PlatformWorkerCount();

// Runs work(part, context) for every part from 0 to count - 1 and returns
// when all have returned. The parts run at the same time, part 0 on the
// calling thread; a part that cannot have a thread of its own runs on the
// calling thread after part 0. A part may wait for work that a part already
// running has taken on, never for a part to start.
void PlatformRunTogether(int count, void (*work)(int part, void* context), void* context);
