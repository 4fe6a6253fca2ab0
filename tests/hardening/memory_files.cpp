#include "memory_files.h"

#include <cstring>
#include <map>

#include "runtime/handle_platform.h"

const char PlatformLineEnd[] = "\n";

namespace {

constexpr uint16_t FileNotFound = 2;
constexpr uint16_t BadHandle = 6;
constexpr uint16_t NegativePosition = 131;
constexpr FileHandle FirstFileHandle = 3;

struct OpenFile {
  std::string name;
  uint64_t position;
  bool writable;
  bool open;
};

std::map<std::string, std::vector<uint8_t>> files;
std::vector<OpenFile> handles;
std::string standardOutput;
std::string standardError;
int operations = 0;
std::string operationKinds;
int faultOperation = 0;
uint16_t faultNumber = 0;
uint32_t faultBytesBefore = 0;

// Counts the call and tells whether it is the one that must fail.
bool FaultStrikes(char kind) {
  operationKinds += kind;
  return ++operations == faultOperation;
}

OpenFile* Find(FileHandle handle) {
  if (handle < FirstFileHandle) return nullptr;
  size_t index = static_cast<size_t>(handle - FirstFileHandle);
  if (index >= handles.size() || !handles[index].open) return nullptr;
  return &handles[index];
}

void Store(OpenFile& file, const uint8_t* bytes, uint32_t count) {
  std::vector<uint8_t>& content = files[file.name];
  if (content.size() < file.position + count) content.resize(file.position + count);
  std::memcpy(content.data() + file.position, bytes, count);
  file.position += count;
}

}  // namespace

void ResetMemoryFiles() {
  files.clear();
  handles.clear();
  standardOutput.clear();
  standardError.clear();
  operations = 0;
  operationKinds.clear();
  faultOperation = 0;
  faultNumber = 0;
  faultBytesBefore = 0;
}

void PutMemoryFile(const std::string& name, const uint8_t* bytes, size_t count) {
  files[name].assign(bytes, bytes + count);
}

bool MemoryFileExists(const std::string& name) { return files.count(name) != 0; }

std::vector<uint8_t> MemoryFileBytes(const std::string& name) {
  auto found = files.find(name);
  return found == files.end() ? std::vector<uint8_t>{} : found->second;
}

int MemoryFilesOpen() {
  int count = 0;
  for (const OpenFile& file : handles) count += file.open ? 1 : 0;
  return count;
}

std::string MemoryStandardOutput() { return standardOutput; }
std::string MemoryStandardError() { return standardError; }
int MemoryFileOperations() { return operations; }
std::string MemoryFileOperationKinds() { return operationKinds; }

void InjectMemoryFault(int operation, uint16_t number, uint32_t bytesBefore) {
  faultOperation = operation;
  faultNumber = number;
  faultBytesBefore = bytesBefore;
}

// The platform's files.

void PlatformStartHandles() {}

FileHandle PlatformStandardHandle(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input: return 0;
    case StandardStream::Output: return 1;
    default: return 2;
  }
}

bool PlatformIsStandardHandle(FileHandle handle) { return handle >= 0 && handle <= 2; }

uint16_t PlatformOpenFile(const char* name, bool openExisting, FileHandle* handle) {
  if (FaultStrikes('o')) return faultNumber;
  if (openExisting && files.count(name) == 0) return FileNotFound;
  if (!openExisting) files[name].clear();
  handles.push_back(OpenFile{name, 0, !openExisting, true});
  *handle = FirstFileHandle + static_cast<FileHandle>(handles.size() - 1);
  return 0;
}

uint16_t PlatformSeekFile(FileHandle handle, int64_t bytePosition) {
  if (FaultStrikes('s')) return faultNumber;
  OpenFile* file = Find(handle);
  if (file == nullptr) return BadHandle;
  if (bytePosition < 0) return NegativePosition;
  file->position = static_cast<uint64_t>(bytePosition);
  return 0;
}

uint16_t PlatformReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* obtained) {
  *obtained = 0;
  if (FaultStrikes('r')) return faultNumber;
  if (handle == 0) return 0;
  OpenFile* file = Find(handle);
  if (file == nullptr) return BadHandle;
  const std::vector<uint8_t>& content = files[file->name];
  if (file->position >= content.size()) return 0;
  uint64_t left = content.size() - file->position;
  uint32_t taken = left < count ? static_cast<uint32_t>(left) : count;
  std::memcpy(buffer, content.data() + file->position, taken);
  file->position += taken;
  *obtained = taken;
  return 0;
}

uint16_t PlatformWriteFile(FileHandle handle, const void* buffer, uint32_t count,
                           uint32_t* written) {
  *written = 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  if (handle == 2) {
    standardError.append(reinterpret_cast<const char*>(bytes), count);
    *written = count;
    return 0;
  }
  OpenFile* file = Find(handle);
  if (FaultStrikes('w')) {
    uint32_t before = faultBytesBefore < count ? faultBytesBefore : count;
    if (handle == 1) standardOutput.append(reinterpret_cast<const char*>(bytes), before);
    if (file != nullptr && file->writable) Store(*file, bytes, before);
    *written = before;
    return faultNumber;
  }
  if (handle == 1) {
    standardOutput.append(reinterpret_cast<const char*>(bytes), count);
    *written = count;
    return 0;
  }
  if (file == nullptr || !file->writable) return BadHandle;
  Store(*file, bytes, count);
  *written = count;
  return 0;
}

uint16_t PlatformCloseFile(FileHandle handle) {
  OpenFile* file = Find(handle);
  // The handle is gone even when closing reports a failure, as with close().
  if (file != nullptr) file->open = false;
  if (FaultStrikes('c')) return faultNumber;
  return file == nullptr ? BadHandle : 0;
}
