#include "picture/picture_header.h"

#include <cstring>

namespace {

uint32_t BigEndian16(const uint8_t* at) { return uint32_t{at[0]} << 8 | at[1]; }

uint32_t BigEndian32(const uint8_t* at) { return BigEndian16(at) << 16 | BigEndian16(at + 2); }

uint32_t LittleEndian16(const uint8_t* at) { return uint32_t{at[1]} << 8 | at[0]; }

uint32_t LittleEndian32(const uint8_t* at) {
  return LittleEndian16(at + 2) << 16 | LittleEndian16(at);
}

bool ReadPngSides(const uint8_t* bytes, size_t size, StatedSides& sides) {
  static constexpr uint8_t Start[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                      'I', 'H', 'D', 'R'};
  if (size < 24 || std::memcmp(bytes, Start, sizeof Start) != 0) {
    return false;
  }
  sides = {BigEndian32(bytes + 16), BigEndian32(bytes + 20)};
  return true;
}

bool ReadBmpSides(const uint8_t* bytes, size_t size, StatedSides& sides) {
  if (size < 26 || bytes[0] != 'B' || bytes[1] != 'M') {
    return false;
  }
  // The oldest header (12 bytes) has 16-bit sides, the later ones signed
  // 32-bit sides, a negative height for rows stored top-down.
  if (LittleEndian32(bytes + 14) == 12) {
    sides = {LittleEndian16(bytes + 18), LittleEndian16(bytes + 20)};
  } else {
    const auto height = static_cast<int32_t>(LittleEndian32(bytes + 22));
    sides = {static_cast<int32_t>(LittleEndian32(bytes + 18)),
             height < 0 ? -int64_t{height} : height};
  }
  return true;
}

// One marker segment of a JPEG: its marker and the bytes after its length.
struct JpegSegment {
  uint8_t marker;
  const uint8_t* data;
  size_t size;
};

// The segments before the first scan, one at a time: `at` starts at 2,
// after the start-of-image marker, and is moved past each segment found.
bool NextJpegSegment(const uint8_t* bytes, size_t size, size_t& at, JpegSegment& segment) {
  while (at + 4 <= size && bytes[at] == 0xFF) {
    const uint8_t marker = bytes[at + 1];
    if (marker == 0xFF) {
      at += 1;  // fill byte before a marker
    } else if (marker == 0xDA || marker == 0xD9) {
      return false;  // the scan or the end
    } else if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      at += 2;  // markers without a segment
    } else {
      const size_t length = BigEndian16(bytes + at + 2);
      if (length < 2 || at + 2 + length > size) {
        return false;
      }
      segment = {marker, bytes + at + 4, length - 2};
      at += 2 + length;
      return true;
    }
  }
  return false;
}

bool IsJpeg(const uint8_t* bytes, size_t size) {
  return size >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

}  // namespace

// The frame header (start of frame 0 to 15, but for the markers sharing
// that range) holds the sample precision, then the height and the width.
// Frames 2, 6, 10 and 14 are progressive.
bool ReadJpegFrame(const uint8_t* bytes, size_t size, StatedSides& sides, bool& progressive) {
  if (!IsJpeg(bytes, size)) {
    return false;
  }
  size_t at = 2;
  JpegSegment segment;
  while (NextJpegSegment(bytes, size, at, segment)) {
    const uint8_t marker = segment.marker;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (segment.size < 5) {
        return false;
      }
      sides = {BigEndian16(segment.data + 3), BigEndian16(segment.data + 1)};
      progressive = (marker & 3) == 2;
      return true;
    }
  }
  return false;
}

namespace {

bool ReadJpegSides(const uint8_t* bytes, size_t size, StatedSides& sides) {
  bool progressive = false;
  return ReadJpegFrame(bytes, size, sides, progressive);
}

// EXIF data is a TIFF structure: a byte-order mark, the offset of the first
// directory, and in it 12-byte entries of tag, type, count and value.
int64_t ReadExifOrientation(const uint8_t* tiff, size_t size) {
  constexpr uint32_t OrientationTag = 0x0112;
  constexpr uint32_t ShortType = 3;
  if (size < 8 || (std::memcmp(tiff, "II*", 4) != 0 && std::memcmp(tiff, "MM\0*", 4) != 0)) {
    return 0;
  }
  const bool little = tiff[0] == 'I';
  const auto read16 = [little](const uint8_t* at) {
    return little ? LittleEndian16(at) : BigEndian16(at);
  };
  const auto read32 = [little](const uint8_t* at) {
    return little ? LittleEndian32(at) : BigEndian32(at);
  };
  const size_t directory = read32(tiff + 4);
  if (directory > size - 2) {
    return 0;
  }
  const size_t entries = read16(tiff + directory);
  for (size_t i = 0; i < entries && directory + 2 + 12 * (i + 1) <= size; ++i) {
    const uint8_t* entry = tiff + directory + 2 + 12 * i;
    if (read16(entry) == OrientationTag && read16(entry + 2) == ShortType &&
        read32(entry + 4) == 1) {
      return read16(entry + 8);
    }
  }
  return 0;
}

}  // namespace

bool ReadStatedSides(const uint8_t* bytes, size_t size, StatedSides& sides) {
  return ReadPngSides(bytes, size, sides) || ReadBmpSides(bytes, size, sides) ||
         ReadJpegSides(bytes, size, sides);
}

int64_t ReadJpegExifOrientation(const uint8_t* bytes, size_t size) {
  static constexpr uint8_t ExifMark[] = {'E', 'x', 'i', 'f', 0, 0};
  if (!IsJpeg(bytes, size)) {
    return 0;
  }
  size_t at = 2;
  JpegSegment segment;
  while (NextJpegSegment(bytes, size, at, segment)) {
    if (segment.marker == 0xE1 && segment.size > sizeof ExifMark &&
        std::memcmp(segment.data, ExifMark, sizeof ExifMark) == 0) {
      return ReadExifOrientation(segment.data + sizeof ExifMark, segment.size - sizeof ExifMark);
    }
  }
  return 0;
}
