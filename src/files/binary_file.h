#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/handle_platform.h"

// An untyped file of records, bound to a name. A record that was never bound
// (all zero) is in none of the four states.
enum class FileState : uint8_t { NeverBound = 0, Closed, Input, Output, InputOutput };

// A name has at most 255 characters as the program shows them. Stored as
// the platform's own bytes, they take up to three bytes each: a character of
// code page 1252 is at most three bytes of UTF-8.
inline constexpr int MaxFileName = 255;
inline constexpr int MaxFileNameBytes = 3 * MaxFileName;

struct BinaryFile {
  FileHandle handle;
  FileState state;
  int64_t recordSize;
  char name[MaxFileNameBytes + 1];  // zero-terminated, the name's own bytes
  bool nameTooLong;                 // over 255 characters; nothing is opened
};

void BindFileName(BinaryFile& file, std::string_view name);
void OpenExistingFile(BinaryFile& file);  // for reading only
void CreateEmptyFile(BinaryFile& file);   // created or emptied; the program only writes it
void SeekFile(BinaryFile& file, int64_t position);
void ReadBlock(BinaryFile& file, void* buffer, uint16_t count, uint16_t& countRead);
void WriteBlock(BinaryFile& file, const void* buffer, int32_t count);
void CloseFile(BinaryFile& file);
