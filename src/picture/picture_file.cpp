#include "picture/picture_file.h"

#include <vector>

#include "runtime/error_numbers.h"
#include "runtime/io_check.h"

namespace {

// The file layer reads at most this much a call.
constexpr int64_t BlockSize = 0xFFFF;

int64_t ReadFromFile(void* context, int64_t position, uint8_t* buffer, int64_t count) {
  auto& picture = *static_cast<PictureFile*>(context);
  if (position < 0 || position >= picture.size || count <= 0 || pendingIoError != NoIoError) {
    return 0;
  }
  SeekFile(picture.file, position);
  int64_t copied = 0;
  while (copied < count && pendingIoError == NoIoError) {
    const int64_t room = count - copied;
    uint16_t countRead = 0;
    ReadBlock(picture.file, buffer + copied, static_cast<uint16_t>(room < BlockSize ? room : BlockSize),
              countRead);
    if (countRead == 0) break;
    copied += countRead;
  }
  return copied;
}

}  // namespace

void OpenPictureFile(std::string_view name, PictureFile& picture) {
  BindFileName(picture.file, name);
  OpenExistingFile(picture.file);
  CheckIo();
  // One byte more than the limit is counted, so that a longer file shows
  // itself; the bytes go nowhere.
  std::vector<uint8_t> discarded(BlockSize);
  int64_t size = 0;
  while (size <= MaxPictureFileBytes) {
    uint16_t countRead = 0;
    ReadBlock(picture.file, discarded.data(), static_cast<uint16_t>(BlockSize), countRead);
    CheckIo();
    size += countRead;
    if (countRead == 0) break;
  }
  picture.tooLarge = size > MaxPictureFileBytes;
  picture.size = picture.tooLarge ? MaxPictureFileBytes : size;
}

PictureBytes ReadPictureBytes(PictureFile& picture) {
  return {picture.size, ReadFromFile, &picture};
}

void ClosePictureFile(PictureFile& picture) {
  CloseFile(picture.file);
  CheckIo();
}
