#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/handle_platform.h"

// An untyped file of records, bound to a name. A record that was never bound
// (all zero) is in none of the four states.
enum class FileState : uint8_t { NeverBound = 0, Closed, Input, Output, InputOutput };

inline constexpr int MaxFileName = 255;

struct BinaryFile {
  FileHandle handle;
  FileState state;
  int64_t recordSize;
  char name[MaxFileName + 1];  // zero-terminated, at most 255 characters used
  bool nameTooLong;            // the given name did not fit; nothing is opened
};

void BindFileName(BinaryFile& file, std::string_view name);
void OpenExistingFile(BinaryFile& file);  // for reading only
void CreateEmptyFile(BinaryFile& file);   // created or emptied; the program only writes it
void SeekFile(BinaryFile& file, int64_t position);
void ReadBlock(BinaryFile& file, void* buffer, uint16_t count, uint16_t& countRead);
void WriteBlock(BinaryFile& file, const void* buffer, int32_t count);
void CloseFile(BinaryFile& file);
