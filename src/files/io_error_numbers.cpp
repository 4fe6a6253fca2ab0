#include "files/io_error_numbers.h"

namespace {

constexpr uint32_t FirstDeviceError = 19;  // write-protected medium
constexpr uint32_t LastDeviceError = 31;   // general device failure
constexpr uint16_t DeviceErrorBase = 131;  // device errors become 150 to 162

struct SystemErrorNumber {
  uint32_t systemError;
  uint16_t number;
};

const SystemErrorNumber renumbered[] = {
    {32, 5},    // sharing violation: access denied
    {112, 101}, // disk full
    {145, 5},   // directory not empty: access denied
    {183, 5},   // already exists: access denied
    {206, 3},   // name too long: path not found
};

}  // namespace

uint16_t IoErrorNumberForSystemError(uint32_t systemError) {
  if (systemError >= FirstDeviceError && systemError <= LastDeviceError)
    return static_cast<uint16_t>(systemError + DeviceErrorBase);
  for (const SystemErrorNumber& entry : renumbered)
    if (entry.systemError == systemError) return entry.number;
  return static_cast<uint16_t>(systemError);
}
