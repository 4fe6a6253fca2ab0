#pragma once
#include <cstdint>
#include <string_view>

#include "files/binary_file.h"
#include "picture/picture_decoder.h"

// A picture file is opened through the program's own file layer, so that a
// missing or unreadable file ends the run with its I/O error number as with
// every other file, and read a block at a time as the decoder asks: it is
// never held whole, so a large file costs no more memory than a small one.
inline constexpr int64_t MaxPictureFileBytes = int64_t{64} << 20;

struct PictureFile {
  BinaryFile file;
  int64_t size;
  bool tooLarge;  // the file holds more than MaxPictureFileBytes
};

// Opens the file and counts its bytes, up to one more than the limit.
void OpenPictureFile(std::string_view name, PictureFile& picture);

// The open file as the decoders read it. A failed read leaves its number
// pending (runtime/io_check.h) and reads nothing more.
PictureBytes ReadPictureBytes(PictureFile& picture);

void ClosePictureFile(PictureFile& picture);
