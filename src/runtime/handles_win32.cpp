// Handles on Windows: CreateFileW, SetFilePointer, ReadFile, WriteFile and
// CloseHandle, with GetLastError turned into the program's I/O error numbers.
#include <windows.h>

#include "runtime/error_numbers.h"
#include "runtime/handle_platform.h"
#include "runtime/system_error_numbers.h"

const char PlatformLineEnd[] = "\r\n";

namespace {

constexpr int MaxWideName = 256;  // 255 UTF-16 units and the terminating zero

FileHandle standardHandles[3];

HANDLE AsHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }
FileHandle FromHandle(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

// The number for the call that just failed. A failure that leaves no code
// behind must still count as one.
uint16_t FailureNumber() {
  uint16_t number = IoErrorNumberForSystemError(GetLastError());
  return number != NoIoError ? number : static_cast<uint16_t>(GeneralFailure);
}

// Consoles set to a Unicode code page report fewer bytes written than they
// took, because they count characters; such a write is complete.
bool IsUnicodeConsole(HANDLE handle) {
  DWORD mode = 0;
  if (!GetConsoleMode(handle, &mode)) return false;
  switch (GetConsoleOutputCP()) {
    case 1200:   // UTF-16 little-endian
    case 1201:   // UTF-16 big-endian
    case 12000:  // UTF-32 little-endian
    case 12001:  // UTF-32 big-endian
    case 65000:  // UTF-7
    case 65001:  // UTF-8
      return true;
    default:
      return false;
  }
}

}  // namespace

void PlatformStartHandles() {
  standardHandles[0] = FromHandle(GetStdHandle(STD_INPUT_HANDLE));
  standardHandles[1] = FromHandle(GetStdHandle(STD_OUTPUT_HANDLE));
  standardHandles[2] = FromHandle(GetStdHandle(STD_ERROR_HANDLE));
}

FileHandle PlatformStandardHandle(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input: return standardHandles[0];
    case StandardStream::Output: return standardHandles[1];
    default: return standardHandles[2];
  }
}

bool PlatformIsStandardHandle(FileHandle handle) {
  return handle == standardHandles[0] || handle == standardHandles[1] ||
         handle == standardHandles[2];
}

uint16_t PlatformOpenFile(const char* name, bool openExisting, FileHandle* handle) {
  // Names arrive in the ANSI code page, as the command line gave them.
  wchar_t wideName[MaxWideName];
  int length = MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, MaxWideName);
  if (length == 0) return FailureNumber();
  for (wchar_t* c = wideName; *c != L'\0'; ++c)
    if (*c == L'/') *c = L'\\';

  // Handles are inheritable; others may read the file while it is open, but
  // not write it. The input is only read, so a read-only file opens too.
  SECURITY_ATTRIBUTES security = {};
  security.nLength = sizeof security;
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;
  DWORD access = openExisting ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = openExisting ? OPEN_EXISTING : CREATE_ALWAYS;
  HANDLE opened = CreateFileW(wideName, access, FILE_SHARE_READ, &security, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == nullptr || opened == INVALID_HANDLE_VALUE) return FailureNumber();
  *handle = FromHandle(opened);
  return 0;
}

uint16_t PlatformSeekFile(FileHandle handle, int64_t bytePosition) {
  uint64_t distance = static_cast<uint64_t>(bytePosition);
  LONG high = static_cast<LONG>(static_cast<uint32_t>(distance >> 32));
  LONG low = static_cast<LONG>(static_cast<uint32_t>(distance));
  // All ones is also a valid low half of a position: only the error code
  // tells a failure.
  SetLastError(NO_ERROR);
  DWORD result = SetFilePointer(AsHandle(handle), low, &high, FILE_BEGIN);
  if (result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return FailureNumber();
  return 0;
}

uint16_t PlatformReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* obtained) {
  DWORD got = 0;
  *obtained = 0;
  if (!ReadFile(AsHandle(handle), buffer, count, &got, nullptr)) {
    // A pipe whose writer has gone has simply run out of data.
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    return FailureNumber();
  }
  *obtained = got;
  return 0;
}

uint16_t PlatformWriteFile(FileHandle handle, const void* buffer, uint32_t count,
                           uint32_t* written) {
  DWORD put = 0;
  *written = 0;
  if (!WriteFile(AsHandle(handle), buffer, count, &put, nullptr)) return FailureNumber();
  if (put < count && IsUnicodeConsole(AsHandle(handle))) put = count;
  *written = put;
  return 0;
}

uint16_t PlatformCloseFile(FileHandle handle) {
  if (!CloseHandle(AsHandle(handle))) return FailureNumber();
  return 0;
}
