#include <immintrin.h>
#include <intrin.h>

#include "match/avx2_search.h"

bool CpuHasAvx2() {
  int registers[4];  // eax, ebx, ecx, edx
  __cpuid(registers, 0);
  if (registers[0] < 7) return false;
  __cpuid(registers, 1);
  const bool hasAvx = (registers[2] & (1 << 28)) != 0;
  const bool hasXsaveEnabled = (registers[2] & (1 << 27)) != 0;
  // The operating system must save the 128- and 256-bit register halves.
  if (!hasAvx || !hasXsaveEnabled || (_xgetbv(0) & 6) != 6) return false;
  __cpuidex(registers, 7, 0);
  return (registers[1] & (1 << 5)) != 0;
}
