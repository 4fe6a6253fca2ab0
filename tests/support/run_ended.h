#pragma once
#include <cstdint>

// Thrown by the test version of ending the process, so that a test can see
// the exit status and what was drawn before it.
struct RunEnded {
  int32_t status;
};

// How many locations the next captured call chain reports (default: none).
void SetCapturedCallChain(const uintptr_t* locations, int count);
