#include "runtime/system_error_numbers.h"

#include "runtime/error_numbers.h"

namespace {

struct SystemErrorNumber {
  uint32_t systemError;
  uint16_t number;
};

const SystemErrorNumber renumbered[] = {
    {32, AccessDenied},     // sharing violation
    {112, DiskWriteError},  // disk full
    {145, AccessDenied},    // directory not empty
    {183, AccessDenied},    // already exists
    {206, PathNotFound},    // name too long
};

}  // namespace

uint16_t IoErrorNumberForSystemError(uint32_t systemError) {
  if (systemError >= FirstDeviceError && systemError <= LastDeviceError)
    return static_cast<uint16_t>(systemError + DeviceErrorBase);
  for (const SystemErrorNumber& entry : renumbered)
    if (entry.systemError == systemError) return entry.number;
  return static_cast<uint16_t>(systemError);
}
