#pragma once
#include <cstdint>

// The I/O error numbers the program reports, as exit status and in the
// failure report. The low ones keep the numbers Windows gives its system
// errors, so that a number means the same on every platform; 100 to 105 are
// the program's own file-state errors; 150 to 162 are the device errors 19
// to 31 moved up by 131. Every number stays below 256, so that it survives
// as an exit status (contract: exit numbers, see docs/design.md).
enum IoErrorNumber : uint16_t {
  NoIoError = 0,
  FileNotFound = 2,
  PathNotFound = 3,           // also a name too long to open
  TooManyOpenFiles = 4,
  AccessDenied = 5,
  InvalidHandle = 6,
  NotEnoughMemory = 8,
  DiskWriteError = 101,       // disk full, or fewer bytes written than asked
  FileNotAssigned = 102,      // the file record was never bound to a name
  FileNotOpen = 103,
  FileNotOpenForInput = 104,
  FileNotOpenForOutput = 105,
  NegativeSeek = 131,
  WriteProtected = 150,
  DeviceNotReady = 152,
  GeneralFailure = 162,
  BrokenPipe = 232,           // the reader of the pipe is gone
};

// Windows' device errors (write-protected medium to general failure) and
// where the program's numbers for them start.
inline constexpr uint32_t FirstDeviceError = 19;
inline constexpr uint32_t LastDeviceError = 31;
inline constexpr uint16_t DeviceErrorBase = 131;

// Exit status of a run the program itself turned down: a wrong command line
// or an image it cannot take.
inline constexpr int32_t RunRejected = 1;
