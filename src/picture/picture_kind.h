#pragma once
#include <cstdint>

// Pictures differ in what decoding them costs, by format and by how the
// file stores them: a decoder that can hand rows on as it reads them needs
// little memory whatever the size, one that builds the whole frame first
// needs memory for every pixel. The kinds below are told apart by the
// file's own header, before any decoder sees it.
enum class PictureKind : uint8_t {
  Png,              // 8 bits a channel or fewer, rows stored in order
  DeepPng,          // 16 bits a channel
  InterlacedPng,    // rows stored in seven passes: decoded whole
  Jpeg,             // sequential: rows decoded in order, shrunk on load
  ProgressiveJpeg,  // every coefficient held until the last scan
  Gif,              // every frame counts
  Webp,             // lossy: decoded at a smaller scale on load
  LosslessWebp,     // or animated: the whole canvas held
  Tiff,             // in strips or tiles of a few rows
  TiffInLargeBlocks,  // a strip or row of tiles holds more than LargeTiffBlockBytes
  Bmp,              // stored plainly: read by the program itself, a row at a time
  CompressedBmp,    // run lengths and the like: the platform's decoder
  Heif,
  Other,            // drawn (SVG) or unknown to the program's own header reading
};
inline constexpr int PictureKindCount = static_cast<int>(PictureKind::Other) + 1;

// A TIFF strip, or a row of tiles, larger than this is read whole into
// memory by the decoders.
inline constexpr int64_t LargeTiffBlockBytes = int64_t{16} << 20;

// The largest picture of a kind that a platform's decoder takes: its longer
// side at most longSide pixels and its shorter at most shortSide, so that
// memory and time stay within the program's budget. All frames of a GIF
// together count, as if one picture. A limit of 0 x 0: the platform reads no
// picture of that kind, and its decoder says so.
struct SideLimit {
  int32_t longSide;
  int32_t shortSide;
};

struct PictureBytes;

// What a file's header states of its kind and size, read without a
// decoder. Sides of 0: the header does not state them where the program
// looks (the decoder's own header reading then tells).
struct StatedPicture {
  PictureKind kind;
  int64_t width;
  int64_t height;
  int64_t framePixels;  // the pixels of every frame together
};
StatedPicture ReadStatedPicture(const PictureBytes& file);
