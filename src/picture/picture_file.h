#pragma once
#include <cstdint>
#include <string_view>

// A picture file is read whole into memory before it is decoded, through
// the program's own file layer, so that a missing or unreadable file ends
// the run with its I/O error number as with every other file.
inline constexpr int64_t MaxPictureFileBytes = int64_t{64} << 20;

struct PictureFile {
  const uint8_t* bytes;
  int64_t size;
  bool tooLarge;  // the file holds more than MaxPictureFileBytes; bytes then holds its start
};

PictureFile ReadPictureFile(std::string_view name);
