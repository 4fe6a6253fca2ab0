#pragma once
#include <cstdint>

// The samebit limit from a parsed integer: its low 16 bits as a signed
// number, capped at 64, with no lower bound (contract: limit syntax, see
// docs/design.md).
int16_t LimitFromInteger(int64_t value);
