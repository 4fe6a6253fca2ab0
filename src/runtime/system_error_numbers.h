#pragma once
#include <cstdint>

// The I/O error number the program reports for a Windows system error code
// (GetLastError). Most codes are kept as they are; device errors, sharing
// and existence conflicts, a full disk and an over-long name are folded into
// the numbers the program has always used for them.
uint16_t IoErrorNumberForSystemError(uint32_t systemError);
