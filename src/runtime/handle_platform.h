#pragma once
#include <cstdint>

// The operating system's files, one implementation per platform
// (handles_posix.cpp, handles_win32.cpp). Every operation returns 0 on success or
// the program's I/O error number.

using FileHandle = intptr_t;
inline constexpr FileHandle NoFileHandle = -1;

enum class StandardStream : uint8_t { Input, Output, Error };

void PlatformStartHandles();
FileHandle PlatformStandardHandle(StandardStream stream);
bool PlatformIsStandardHandle(FileHandle handle);

// The line end that text written to a handle uses on this platform.
extern const char PlatformLineEnd[];

// name: zero-terminated 8-bit text. openExisting: open an existing file for
// reading; otherwise create the file, or empty it, for writing.
uint16_t PlatformOpenFile(const char* name, bool openExisting, FileHandle* handle);
uint16_t PlatformSeekFile(FileHandle handle, int64_t bytePosition);
uint16_t PlatformReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* obtained);
uint16_t PlatformWriteFile(FileHandle handle, const void* buffer, uint32_t count,
                           uint32_t* written);
uint16_t PlatformCloseFile(FileHandle handle);
