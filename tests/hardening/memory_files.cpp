#include "memory_files.h"

#include <algorithm>

#include "runtime/error_numbers.h"
#include "runtime/handle_platform.h"

const char PlatformLineEnd[] = "\n";
MemoryFiles memoryFiles;

namespace {

constexpr FileHandle StandardOutputHandle = 1;
constexpr FileHandle StandardErrorHandle = 2;
constexpr FileHandle FirstFileHandle = 3;

// Counts the call and tells whether it is the one that must fail.
bool Fails(char kind) {
  memoryFiles.operations += kind;
  return memoryFiles.operations.size() == memoryFiles.failAt;
}

MemoryHandle* Find(FileHandle handle) {
  const size_t index = static_cast<size_t>(handle - FirstFileHandle);
  if (handle < FirstFileHandle || index >= memoryFiles.handles.size()) return nullptr;
  return memoryFiles.handles[index].open ? &memoryFiles.handles[index] : nullptr;
}

}  // namespace

void PlatformStartHandles() {}

// Input, Output and Error are 0, 1 and 2 in StandardStream.
FileHandle PlatformStandardHandle(StandardStream stream) { return static_cast<FileHandle>(stream); }

bool PlatformIsStandardHandle(FileHandle handle) { return handle >= 0 && handle < FirstFileHandle; }

uint16_t PlatformOpenFile(const char* name, bool openExisting, FileHandle* handle) {
  if (Fails('o')) return memoryFiles.failNumber;
  if (openExisting && memoryFiles.files.count(name) == 0) return FileNotFound;
  if (!openExisting) memoryFiles.files[name].clear();
  memoryFiles.handles.push_back(MemoryHandle{name, 0, !openExisting, true});
  *handle = FirstFileHandle + static_cast<FileHandle>(memoryFiles.handles.size() - 1);
  return NoIoError;
}

uint16_t PlatformSeekFile(FileHandle handle, int64_t bytePosition) {
  if (Fails('s')) return memoryFiles.failNumber;
  MemoryHandle* file = Find(handle);
  if (file == nullptr) return InvalidHandle;
  if (bytePosition < 0) return NegativeSeek;
  file->position = static_cast<size_t>(bytePosition);
  return NoIoError;
}

uint16_t PlatformReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* obtained) {
  *obtained = 0;
  if (Fails('r')) return memoryFiles.failNumber;
  MemoryHandle* file = Find(handle);
  if (file == nullptr) return handle == 0 ? NoIoError : InvalidHandle;
  const std::string& content = memoryFiles.files[file->name];
  if (file->position >= content.size()) return NoIoError;
  const size_t taken = content.copy(static_cast<char*>(buffer), count, file->position);
  *obtained = static_cast<uint32_t>(taken);
  file->position += taken;
  return NoIoError;
}

uint16_t PlatformWriteFile(FileHandle handle, const void* buffer, uint32_t count,
                           uint32_t* written) {
  const char* bytes = static_cast<const char*>(buffer);
  *written = count;
  if (handle == StandardErrorHandle) {
    memoryFiles.standardError.append(bytes, count);
    return NoIoError;
  }
  uint16_t error = NoIoError;
  if (Fails('w')) {
    *written = count = std::min(count, memoryFiles.failBytes);
    error = memoryFiles.failNumber;
  }
  MemoryHandle* file = Find(handle);
  if (handle == StandardOutputHandle) {
    memoryFiles.standardOutput.append(bytes, count);
  } else if (file != nullptr && file->writable) {
    std::string& content = memoryFiles.files[file->name];
    content.resize(std::max(content.size(), file->position + count));
    content.replace(file->position, count, bytes, count);
    file->position += count;
  } else {
    *written = 0;
    return InvalidHandle;
  }
  return error;
}

uint16_t PlatformCloseFile(FileHandle handle) {
  MemoryHandle* file = Find(handle);
  // The handle is gone even when closing reports a failure, as with close().
  if (file != nullptr) file->open = false;
  if (Fails('c')) return memoryFiles.failNumber;
  return file == nullptr ? InvalidHandle : NoIoError;
}
