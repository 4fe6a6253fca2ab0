#pragma once
#include <cstdint>

// Ending the process and finding the code locations of the failure report,
// one implementation per platform (process_posix.cpp, process_win32.cpp).
// Tests link a version whose exit throws instead.

[[noreturn]] void PlatformExitProcess(int32_t status);

// Fills locations with the return addresses of the current call chain,
// innermost first, and returns how many it found (at most capacity).
int PlatformCaptureCallChain(uintptr_t* locations, int capacity);
