#include "files/binary_file.h"

#include <cstring>

#include "runtime/arguments_platform.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"

namespace {

bool IsOpen(FileState state) {
  return state == FileState::Input || state == FileState::Output ||
         state == FileState::InputOutput;
}

void ReleaseHandle(BinaryFile& file) {
  if (!PlatformIsStandardHandle(file.handle)) PlatformCloseFile(file.handle);
  file.handle = NoFileHandle;
  file.state = FileState::Closed;
}

void OpenFile(BinaryFile& file, bool openExisting) {
  if (pendingIoError != NoIoError) return;
  if (IsOpen(file.state)) {
    ReleaseHandle(file);
  } else if (file.state != FileState::Closed) {
    pendingIoError = FileNotAssigned;
    return;
  }
  file.handle = NoFileHandle;
  // A name cut to fit would open some other file: refuse it instead
  // (contract: long names refused, see docs/design.md).
  if (file.nameTooLong) {
    pendingIoError = PathNotFound;  // as the system says of a name too long
    return;
  }
  // The input is only ever read; opening it for reading alone lets a
  // read-only file convert like any other.
  FileState openState = openExisting ? FileState::Input : FileState::InputOutput;
  if (file.name[0] == '\0') {
    file.handle = PlatformStandardHandle(StandardStream::Output);
    file.state = openState;
    file.recordSize = 1;
    return;
  }
  FileHandle handle = NoFileHandle;
  uint16_t error = PlatformOpenFile(file.name, openExisting, &handle);
  if (error != NoIoError) {
    pendingIoError = error;
    file.state = FileState::Closed;
  } else {
    file.handle = handle;
    file.state = openState;
  }
  file.recordSize = 1;
}

}  // namespace

void BindFileName(BinaryFile& file, std::string_view name) {
  file = BinaryFile{};
  file.handle = NoFileHandle;
  file.state = FileState::Closed;
  size_t kept = name.size() < MaxFileNameBytes ? name.size() : MaxFileNameBytes;
  std::memcpy(file.name, name.data(), kept);
  file.name[kept] = '\0';
  file.nameTooLong = ShowName(name).length > MaxFileName || name.size() > MaxFileNameBytes;
}

void OpenExistingFile(BinaryFile& file) { OpenFile(file, true); }

void CreateEmptyFile(BinaryFile& file) { OpenFile(file, false); }

void SeekFile(BinaryFile& file, int64_t position) {
  if (pendingIoError != NoIoError) return;
  if (!IsOpen(file.state)) {
    pendingIoError = FileNotOpen;
    return;
  }
  uint16_t error = PlatformSeekFile(file.handle, position * file.recordSize);
  if (error != NoIoError) pendingIoError = error;
}

void ReadBlock(BinaryFile& file, void* buffer, uint16_t count, uint16_t& countRead) {
  countRead = 0;
  if (pendingIoError != NoIoError) return;
  if (file.state == FileState::Output) {
    pendingIoError = FileNotOpenForInput;
    return;
  }
  if (file.state != FileState::Input && file.state != FileState::InputOutput) {
    pendingIoError = FileNotOpen;
    return;
  }
  uint32_t obtained = 0;
  uint16_t error = PlatformReadFile(file.handle, buffer,
                                    static_cast<uint32_t>(count * file.recordSize), &obtained);
  if (error != NoIoError) {
    pendingIoError = error;
    return;
  }
  countRead = static_cast<uint16_t>(obtained / file.recordSize);
}

void WriteBlock(BinaryFile& file, const void* buffer, int32_t count) {
  if (pendingIoError != NoIoError) return;
  if (file.state == FileState::Input) {
    pendingIoError = FileNotOpenForOutput;
    return;
  }
  if (file.state != FileState::Output && file.state != FileState::InputOutput) {
    pendingIoError = FileNotOpen;
    return;
  }
  uint32_t bytes = count > 0 ? static_cast<uint32_t>(count * file.recordSize) : 0;
  uint32_t written = 0;
  uint16_t error = PlatformWriteFile(file.handle, buffer, bytes, &written);
  if (error != NoIoError) {
    pendingIoError = error;
  } else if (count > 0 && written / file.recordSize < static_cast<uint32_t>(count)) {
    pendingIoError = DiskWriteError;
  }
}

void CloseFile(BinaryFile& file) {
  if (pendingIoError != NoIoError) return;
  if (!IsOpen(file.state)) {
    pendingIoError = FileNotOpen;
    return;
  }
  uint16_t error = 0;
  if (!PlatformIsStandardHandle(file.handle)) error = PlatformCloseFile(file.handle);
  file.handle = NoFileHandle;
  file.state = FileState::Closed;
  if (error != NoIoError) pendingIoError = error;
}
