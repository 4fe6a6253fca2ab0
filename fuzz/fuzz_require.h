#pragma once
// What the fuzz targets check: a property that does not hold ends the run
// with its description on standard error, and the fuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

inline void Require(bool holds, const char* what) {
  if (!holds) Fail(what);
}
