#pragma once
#include <cstddef>
#include <cstdint>

// What a picture file's header states, read without a decoder, for where
// the platform's decoder says nothing or turns the header down.

// The width and height the header of a PNG, BMP or JPEG states; false for
// other files and for a header too short to state them.
struct StatedSides {
  int64_t width;
  int64_t height;
};
bool ReadStatedSides(const uint8_t* bytes, size_t size, StatedSides& sides);

// The sides a JPEG's frame header states, and whether its scans are
// progressive; false where no frame header is found in the bytes given.
bool ReadJpegFrame(const uint8_t* bytes, size_t size, StatedSides& sides, bool& progressive);

// The orientation a JPEG's EXIF segment states, 0 where it states none.
int64_t ReadJpegExifOrientation(const uint8_t* bytes, size_t size);
