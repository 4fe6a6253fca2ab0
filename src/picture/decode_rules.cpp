#include "picture/decode_rules.h"

#include <cstring>

int64_t ShrunkSide(int64_t side, int32_t shrink) {
  // The libraries' scaled decoders round a partial block up.
  return (side + shrink - 1) / shrink;
}

int32_t ChooseLoadShrink(int64_t width, int64_t height, int32_t leastSide) {
  const int64_t shorter = width < height ? width : height;
  int32_t shrink = 8;
  while (shrink > 1 && ShrunkSide(shorter, shrink) < leastSide) {
    shrink /= 2;
  }
  return shrink;
}

DecodeOutcome CheckPictureSize(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) {
    return DecodeOutcome::NoPixels;
  }
  if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels) {
    return DecodeOutcome::TooLarge;
  }
  return DecodeOutcome::Decoded;
}

PictureOrientation KnownOrientation(int64_t stated) {
  return stated >= 1 && stated <= 8 ? static_cast<PictureOrientation>(stated) : 1;
}

namespace {

uint32_t BigEndian16(const uint8_t* at) { return uint32_t{at[0]} << 8 | at[1]; }

uint32_t BigEndian32(const uint8_t* at) { return BigEndian16(at) << 16 | BigEndian16(at + 2); }

uint32_t LittleEndian16(const uint8_t* at) { return uint32_t{at[1]} << 8 | at[0]; }

uint32_t LittleEndian32(const uint8_t* at) {
  return LittleEndian16(at + 2) << 16 | LittleEndian16(at);
}

bool PngStatesNoPixels(const uint8_t* bytes, size_t size) {
  static constexpr uint8_t Start[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                      'I', 'H', 'D', 'R'};
  return size >= 24 && std::memcmp(bytes, Start, sizeof Start) == 0 &&
         (BigEndian32(bytes + 16) == 0 || BigEndian32(bytes + 20) == 0);
}

bool BmpStatesNoPixels(const uint8_t* bytes, size_t size) {
  if (size < 26 || bytes[0] != 'B' || bytes[1] != 'M') {
    return false;
  }
  // The oldest header (12 bytes) has 16-bit sides, the later ones 32-bit.
  if (LittleEndian32(bytes + 14) == 12) {
    return LittleEndian16(bytes + 18) == 0 || LittleEndian16(bytes + 20) == 0;
  }
  return LittleEndian32(bytes + 18) == 0 || LittleEndian32(bytes + 22) == 0;
}

// Walks the marker segments up to the frame header, whose sides follow its
// length and sample precision.
bool JpegStatesNoPixels(const uint8_t* bytes, size_t size) {
  if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
    return false;
  }
  size_t at = 2;
  while (at + 4 <= size && bytes[at] == 0xFF) {
    const uint8_t marker = bytes[at + 1];
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                       marker != 0xCC;
    if (marker == 0xFF) {
      at += 1;  // fill byte before a marker
    } else if (frame) {
      return at + 9 <= size && (BigEndian16(bytes + at + 5) == 0 || BigEndian16(bytes + at + 7) == 0);
    } else if (marker == 0xDA || marker == 0xD9) {
      return false;  // scan or end before any frame header
    } else if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      at += 2;  // markers without a segment
    } else {
      at += 2 + BigEndian16(bytes + at + 2);
    }
  }
  return false;
}

}  // namespace

bool StatesNoPixels(const uint8_t* bytes, size_t size) {
  return PngStatesNoPixels(bytes, size) || BmpStatesNoPixels(bytes, size) ||
         JpegStatesNoPixels(bytes, size);
}

void ClearTransparentPixels(uint8_t* rgba, int32_t width) {
  for (int32_t x = 0; x < width; ++x, rgba += 4) {
    if (rgba[3] == 0) {
      std::memset(rgba, 0, 4);
    }
  }
}
