// The picture decoder in the browser: the page has decoded the picture to
// RGBA already, upright, and the rows it left here are handed on. The
// shrinking on load is the page's too (a JPEG, as the other platforms do).
#include <cstring>
#include <vector>

#include "picture/decode_rules.h"
#include "picture/picture_pixels_web.h"

namespace {

// The whole picture sits in the engine's memory as RGBA, and the page holds
// its own copy too, whatever the format: every kind has the same limit,
// 4096 pixels a side, so that the picture takes at most 64 MiB of the
// engine's memory (a 12-megapixel photograph fits; larger JPEGs come shrunk
// by the page). Drawn pictures (Other) are drawn by the browser to pixels
// like any other.
constexpr SideLimit HeldLimit = {4096, 4096};

struct HeldPicture {
  std::vector<uint8_t> rgba;
  int32_t width;
  int32_t height;
};
HeldPicture held;

int64_t ReadHeld(void*, int64_t position, uint8_t* buffer, int64_t count) {
  const int64_t size = static_cast<int64_t>(held.rgba.size());
  const int64_t copied = position >= size ? 0 : count < size - position ? count : size - position;
  std::memcpy(buffer, held.rgba.data() + position, static_cast<size_t>(copied));
  return copied;
}

}  // namespace

SideLimit PlatformSideLimit(PictureKind) { return HeldLimit; }

DecodeOutcome HoldPicturePixels(int32_t width, int32_t height, uint8_t** pixels) {
  const DecodeOutcome fits =
      CheckPictureSize(PictureKind::Other, width, height, int64_t{width} * height);
  if (fits != DecodeOutcome::Decoded) return fits;
  held.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  held.width = width;
  held.height = height;
  *pixels = held.rgba.data();
  return DecodeOutcome::Decoded;
}

PictureBytes HeldPictureBytes() {
  return {static_cast<int64_t>(held.rgba.size()), ReadHeld, &held};
}

DecodeOutcome DecodePicture(const PictureBytes& file, int32_t, PictureSink sink) {
  if (file.context != &held || held.width == 0) return DecodeOutcome::NotAPicture;
  sink.start(sink.context, held.width, held.height, 1);
  std::vector<uint8_t> row(static_cast<size_t>(held.width) * 4);
  for (int32_t y = 0; y < held.height; ++y) {
    std::memcpy(row.data(), held.rgba.data() + static_cast<size_t>(y) * row.size(), row.size());
    ClearTransparentPixels(row.data(), held.width);
    sink.row(sink.context, y, row.data());
  }
  return DecodeOutcome::Decoded;
}
