#include "picture/decode_rules.h"

#include <cstring>
#include <vector>

#include "picture/bmp_reader.h"
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

DecodeOutcome CheckPictureSize(PictureKind kind, int64_t width, int64_t height,
                               int64_t framePixels) {
  const DecodeOutcome shared = CheckPictureSize(width, height);
  const SideLimit limit = PlatformSideLimit(kind);
  if (shared != DecodeOutcome::Decoded || limit.longSide == 0) {
    return shared;
  }
  const int64_t longer = width > height ? width : height;
  const int64_t shorter = width > height ? height : width;
  const bool fits = longer <= limit.longSide && shorter <= limit.shortSide &&
                    framePixels <= int64_t{limit.longSide} * limit.shortSide;
  return fits ? DecodeOutcome::Decoded : DecodeOutcome::TooLarge;
}

DecodeOutcome CheckStatedPicture(const StatedPicture& stated) {
  if (stated.width <= 0 || stated.height <= 0) {
    return DecodeOutcome::Decoded;
  }
  return CheckPictureSize(stated.kind, stated.width, stated.height, stated.framePixels);
}

bool DecodeBeforeLibrary(const PictureBytes& file, PictureSink sink, StatedPicture& stated,
                         DecodeOutcome& outcome) {
  stated = ReadStatedPicture(file);
  outcome = CheckStatedPicture(stated);
  if (outcome == DecodeOutcome::Decoded && stated.kind == PictureKind::Bmp) {
    outcome = DecodePlainBmp(file, sink);
    return true;
  }
  return outcome != DecodeOutcome::Decoded;
}

const char* PictureKindWords(PictureKind kind) {
  static constexpr const char* Words[PictureKindCount] = {
      "a PNG",
      "a PNG of 16-bit channels",
      "an interlaced PNG",
      "a JPEG",
      "a progressive JPEG",
      "a GIF",
      "a WebP",
      "a lossless or animated WebP",
      "a TIFF",
      "a TIFF in large strips or tiles",
      "a BMP",
      "a compressed BMP",
      "a HEIF picture",
      "a picture",
  };
  return Words[static_cast<int>(kind)];
}

namespace {

int64_t ReadMemory(void* context, int64_t position, uint8_t* buffer, int64_t count) {
  const auto& held = *static_cast<const BytesInMemory*>(context);
  const auto size = static_cast<int64_t>(held.size);
  if (position < 0 || position >= size || count <= 0) {
    return 0;
  }
  const int64_t copied = size - position < count ? size - position : count;
  std::memcpy(buffer, held.bytes + position, static_cast<size_t>(copied));
  return copied;
}

}  // namespace

PictureBytes ReadFromMemory(BytesInMemory& held) {
  return {static_cast<int64_t>(held.size), ReadMemory, &held};
}

DecodeOutcome DecodePictureInMemory(const uint8_t* bytes, size_t size, int32_t leastSide,
                                    PictureSink sink) {
  BytesInMemory held = {bytes, size};
  return DecodePicture(ReadFromMemory(held), leastSide, sink);
}

PictureOrientation KnownOrientation(int64_t stated) {
  return stated >= 1 && stated <= 8 ? static_cast<PictureOrientation>(stated) : 1;
}

DecodeOutcome RefusedPictureOutcome(const PictureBytes& file) {
  // As far into the file as a JPEG's frame header may lie.
  constexpr int64_t HeadBytes = int64_t{256} << 10;
  std::vector<uint8_t> head(static_cast<size_t>(file.size < HeadBytes ? file.size : HeadBytes));
  head.resize(static_cast<size_t>(file.read(file.context, 0, head.data(),
                                            static_cast<int64_t>(head.size()))));
  StatedSides sides;
  if (!ReadStatedSides(head.data(), head.size(), sides)) {
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
