// Handles in the browser: the page hands the engine its picture as pixels
// and takes the outputs from memory, so there are no files to open and no
// standard streams. Every operation fails as on a system without them.
#include "runtime/error_numbers.h"
#include "runtime/handle_platform.h"

const char PlatformLineEnd[] = "\n";

void PlatformStartHandles() {}

FileHandle PlatformStandardHandle(StandardStream) { return NoFileHandle; }

bool PlatformIsStandardHandle(FileHandle) { return false; }

uint16_t PlatformOpenFile(const char*, bool, FileHandle* handle) {
  *handle = NoFileHandle;
  return FileNotFound;
}

uint16_t PlatformSeekFile(FileHandle, int64_t) { return InvalidHandle; }

uint16_t PlatformReadFile(FileHandle, void*, uint32_t, uint32_t* obtained) {
  *obtained = 0;
  return InvalidHandle;
}

uint16_t PlatformWriteFile(FileHandle, const void*, uint32_t, uint32_t* written) {
  *written = 0;
  return InvalidHandle;
}

uint16_t PlatformCloseFile(FileHandle) { return InvalidHandle; }
