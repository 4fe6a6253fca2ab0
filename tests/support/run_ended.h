#pragma once
#include <cstdint>

// Thrown by the test version of ending the process, so that a test can see
// the exit status and what was drawn before it.
struct RunEnded {
  int32_t status;
};
