#include "match/avx2_search.h"

bool CpuHasAvx2() {
  // Also true only when the operating system saves the 256-bit registers.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}
