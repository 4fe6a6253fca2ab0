#include "files/whole_file.h"

#include "files/binary_file.h"
#include "runtime/io_check.h"

uint16_t ReadWholeFile(std::string_view name, void* buffer, uint16_t capacity) {
  BinaryFile file;
  BindFileName(file, name);
  OpenExistingFile(file);
  CheckIo();
  uint16_t countRead = 0;
  ReadBlock(file, buffer, capacity, countRead);
  CheckIo();
  CloseFile(file);
  CheckIo();
  return countRead;
}

void WriteWholeFile(std::string_view name, const void* bytes, int32_t count) {
  BinaryFile file;
  BindFileName(file, name);
  CreateEmptyFile(file);
  CheckIo();
  WriteBlock(file, bytes, count);
  CheckIo();
  CloseFile(file);
  CheckIo();
}
