#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/picture_kind.h"

// The one seam between the program and the platform's picture decoder
// (picture_decoder_posix.cpp on libvips, picture_decoder_win32.cpp on the
// Windows Imaging Component). Everything after the decoded rows is the
// program's own code, so that the same decoded pixels give the same result
// on every platform.

enum class DecodeOutcome : uint8_t {
  Decoded,
  NotAPicture,  // no decoder takes these bytes
  Damaged,      // a decoder took them, but the picture is cut short or broken
  NoPixels,     // a width or height of 0
  TooLarge,     // more pixels than the program takes, even shrunk on load
};

// A decoded picture may have at most this many pixels a side and in all,
// after shrinking on load, whatever its kind; the kinds' own limits
// (PlatformSideLimit) are lower where a decoder holds more than a few rows.
inline constexpr int32_t MaxPictureSide = 65535;
inline constexpr int64_t MaxPicturePixels = int64_t{1} << 28;

// The limits of this platform's decoder, by kind (picture_kind.h): a table
// in the platform's decoder file, measured there.
SideLimit PlatformSideLimit(PictureKind kind);

// A picture file as the decoder reads it: its size, and a way to copy any
// part of it. The program reads a file a block at a time as the decoder
// asks, so that it need not be held whole. `read` copies up to `count`
// bytes from `position` into `buffer` and returns how many it copied: fewer
// only at the end of the file, or after a failed read.
struct PictureBytes {
  int64_t size;
  int64_t (*read)(void* context, int64_t position, uint8_t* buffer, int64_t count);
  void* context;
};

// How the stored rows are turned to be seen upright: the EXIF orientation,
// 1 (as stored) to 8. The decoder reports it and leaves the rows as stored.
using PictureOrientation = uint8_t;

// Where the rows go. `start` is called once, before the first row, with the
// size as stored; then `row` once for every row, top to bottom, each `width`
// pixels of 8-bit sRGB with straight alpha (R, G, B, A: 4 bytes a pixel,
// alpha 255 where the picture has none). A pixel with alpha 0 comes as
// 0, 0, 0, 0, whatever colour the file keeps under it, so that decoders
// agree on it. A decode that fails after `start` returns Damaged; the rows
// delivered so far are then to be ignored.
struct PictureSink {
  void (*start)(void* context, int32_t width, int32_t height, PictureOrientation orientation);
  void (*row)(void* context, int32_t y, const uint8_t* rgba);
  void* context;
};

// Decodes a whole picture file: the first frame or page, colour profile
// converted to sRGB. A picture larger than its kind's limit is TooLarge
// before any of it is decoded. The decoder may shrink the picture on load
// where its format allows it cheaply (JPEG's 1/2, 1/4 and 1/8 scales; an
// SVG, which is drawn, and a WebP at any smaller scale), as long as the shorter side
// stays at least leastSide pixels (or as it is, when it is shorter already).
// The shorter side, because it does not change with the orientation.
DecodeOutcome DecodePicture(const PictureBytes& file, int32_t leastSide, PictureSink sink);
