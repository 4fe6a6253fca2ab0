#include "picture/decode_rules.h"

#include <cstring>

#include "picture/picture_header.h"

int64_t ShrunkSide(int64_t side, int32_t shrink) {
  // libvips leaves out a partial block, so that a JPEG shrunk on load has
  // the size of any other picture shrunk by the same factor.
  return side / shrink;
}

int32_t ChooseLoadShrink(int64_t width, int64_t height, int32_t leastSide) {
  const int64_t shorter = width < height ? width : height;
  const int32_t least = leastSide > 1 ? leastSide : 1;
  int32_t shrink = 8;
  while (shrink > 1 && ShrunkSide(shorter, shrink) < least) {
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

DecodeOutcome RefusedPictureOutcome(const uint8_t* bytes, size_t size) {
  StatedSides sides;
  if (!ReadStatedSides(bytes, size, sides)) {
    return DecodeOutcome::Damaged;
  }
  const DecodeOutcome outcome = CheckPictureSize(sides.width, sides.height);
  return outcome == DecodeOutcome::Decoded ? DecodeOutcome::Damaged : outcome;
}

void ClearTransparentPixels(uint8_t* rgba, int32_t width) {
  for (int32_t x = 0; x < width; ++x, rgba += 4) {
    if (rgba[3] == 0) {
      std::memset(rgba, 0, 4);
    }
  }
}
