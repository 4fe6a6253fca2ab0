#include "picture/picture_file.h"

#include "files/binary_file.h"
#include "runtime/io_check.h"

namespace {

// Untouched pages of the buffer cost no memory: a small file uses little.
uint8_t fileBytes[MaxPictureFileBytes + 1];

// The file layer reads at most this much a call.
constexpr uint16_t BlockSize = 0xFFFF;

}  // namespace

PictureFile ReadPictureFile(std::string_view name) {
  BinaryFile file;
  BindFileName(file, name);
  OpenExistingFile(file);
  CheckIo();
  int64_t size = 0;
  // One byte more than the limit is read, so that a longer file shows itself.
  while (size <= MaxPictureFileBytes) {
    const int64_t room = MaxPictureFileBytes + 1 - size;
    const auto wanted = static_cast<uint16_t>(room < BlockSize ? room : BlockSize);
    uint16_t countRead = 0;
    ReadBlock(file, fileBytes + size, wanted, countRead);
    CheckIo();
    size += countRead;
    if (countRead < wanted) break;
  }
  CloseFile(file);
  CheckIo();
  const bool tooLarge = size > MaxPictureFileBytes;
  return {fileBytes, tooLarge ? MaxPictureFileBytes : size, tooLarge};
}
