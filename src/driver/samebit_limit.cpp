#include "driver/samebit_limit.h"

int16_t LimitFromInteger(int64_t value) {
  int16_t low = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFF));
  return low > 64 ? int16_t{64} : low;
}
