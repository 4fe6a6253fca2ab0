// The kind and size of a picture from its header, read a few bytes at a
// time: the start of the file for most formats, a TIFF's first directory
// wherever it lies, and the blocks of a GIF from end to end, frame by
// frame, without decoding any of them.
#include "picture/picture_kind.h"

#include <cstring>
#include <vector>

#include "picture/bmp_reader.h"
#include "picture/picture_decoder.h"
#include "picture/picture_header.h"

namespace {

// The start of a file read for its header: JPEG's frame header follows
// the EXIF and colour profile segments, which are at most 64 KiB each.
constexpr int64_t HeadBytes = int64_t{256} << 10;

uint32_t Big16(const uint8_t* at) { return uint32_t{at[0]} << 8 | at[1]; }
uint32_t Big32(const uint8_t* at) { return Big16(at) << 16 | Big16(at + 2); }
uint32_t Little16(const uint8_t* at) { return uint32_t{at[1]} << 8 | at[0]; }
uint32_t Little24(const uint8_t* at) { return uint32_t{at[2]} << 16 | Little16(at); }
uint32_t Little32(const uint8_t* at) { return Little16(at + 2) << 16 | Little16(at); }

// A side beyond any limit leaves the pixels uncounted, so that the
// product of two sides of 32 bits cannot overflow: the side alone refuses.
StatedPicture Stated(PictureKind kind, int64_t width, int64_t height) {
  const bool counted = width <= MaxPictureSide && height <= MaxPictureSide;
  return {kind, width, height, counted ? width * height : 0};
}

template <size_t Length>
bool StartsWith(const std::vector<uint8_t>& head, const char (&mark)[Length], size_t at = 0) {
  return head.size() >= at + Length - 1 && std::memcmp(head.data() + at, mark, Length - 1) == 0;
}

// IHDR: width, height, bit depth, colour type, compression, filter, interlace.
StatedPicture ReadPng(const std::vector<uint8_t>& head) {
  StatedSides sides;
  if (head.size() < 29 || !ReadStatedSides(head.data(), head.size(), sides)) {
    return Stated(PictureKind::Png, 0, 0);
  }
  const PictureKind kind = head[28] != 0   ? PictureKind::InterlacedPng
                           : head[24] > 8 ? PictureKind::DeepPng
                                          : PictureKind::Png;
  return Stated(kind, sides.width, sides.height);
}

// A JPEG whose frame header lies beyond the head is taken as the costlier
// kind; its decoder then tells the size.
StatedPicture ReadJpeg(const std::vector<uint8_t>& head) {
  StatedSides sides;
  bool progressive = false;
  if (!ReadJpegFrame(head.data(), head.size(), sides, progressive)) {
    return Stated(PictureKind::ProgressiveJpeg, 0, 0);
  }
  return Stated(progressive ? PictureKind::ProgressiveJpeg : PictureKind::Jpeg, sides.width,
                sides.height);
}

// The chunks after "RIFF", its size and "WEBP". First a lossy frame (its
// sides 14 bits each after a start code), a lossless one (after its
// signature byte, 14 bits each less one), or the extended header (the
// canvas, 24 bits each less one), which a lossy frame, a lossless one or
// an animation follows: lossy only where its frame is found in the head.
StatedPicture ReadWebp(const std::vector<uint8_t>& head) {
  const uint8_t* chunk = head.data() + 12;
  if (StartsWith(head, "VP8 ", 12) && head.size() >= 30) {
    return Stated(PictureKind::Webp, Little16(chunk + 14) & 0x3FFF, Little16(chunk + 16) & 0x3FFF);
  }
  if (StartsWith(head, "VP8L", 12) && head.size() >= 25) {
    const uint32_t bits = Little32(chunk + 9);
    return Stated(PictureKind::LosslessWebp, (bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1);
  }
  if (!StartsWith(head, "VP8X", 12) || head.size() < 30) {
    return Stated(PictureKind::LosslessWebp, 0, 0);
  }
  PictureKind kind = PictureKind::LosslessWebp;
  for (size_t at = 30; at + 8 <= head.size();) {
    if (StartsWith(head, "VP8 ", at)) kind = PictureKind::Webp;
    if (StartsWith(head, "VP8 ", at) || StartsWith(head, "VP8L", at) ||
        StartsWith(head, "ANMF", at)) {
      break;
    }
    at += 8 + (Little32(head.data() + at + 4) + 1) / 2 * 2;  // chunks are padded to even sizes
  }
  return Stated(kind, Little24(chunk + 12) + 1, Little24(chunk + 15) + 1);
}

// Reads a file from the start, a byte at a time out of a buffer.
struct ByteStream {
  const PictureBytes& file;
  std::vector<uint8_t> buffer = std::vector<uint8_t>(64 << 10);
  int64_t bufferStart = 0;
  int64_t bufferSize = 0;
  int64_t at = 0;

  // -1 at the end of the file.
  int Next() {
    if (at >= bufferStart + bufferSize) {
      bufferStart = at;
      bufferSize = file.read(file.context, at, buffer.data(), static_cast<int64_t>(buffer.size()));
      if (bufferSize <= 0) {
        bufferSize = 0;
        return -1;
      }
    }
    return buffer[static_cast<size_t>(at++ - bufferStart)];
  }
  int Next16() {
    const int low = Next();
    const int high = Next();
    return low < 0 || high < 0 ? -1 : high << 8 | low;
  }
  // Past sub-blocks, each a length byte and that many bytes, up to an empty one.
  bool SkipSubBlocks() {
    for (int length = Next(); length != 0; length = Next()) {
      if (length < 0) return false;
      at += length;
    }
    return true;
  }
};

// The logical screen, then blocks up to the trailer: an image (descriptor,
// local colour table, code size, data) or an extension. The sides are the
// screen's or the frames' reach, whichever is larger, as decoders draw
// frames that reach beyond the screen. A file cut short counts the frames
// it has.
StatedPicture ReadGif(const PictureBytes& file) {
  ByteStream stream{file};
  stream.at = 6;
  int64_t width = stream.Next16();
  int64_t height = stream.Next16();
  const int packed = stream.Next();
  if (packed < 0) return Stated(PictureKind::Gif, 0, 0);
  stream.at += 2 + ((packed & 0x80) != 0 ? 3 << ((packed & 7) + 1) : 0);
  int64_t framePixels = 0;
  for (int block = stream.Next(); block == 0x2C || block == 0x21; block = stream.Next()) {
    if (block == 0x21) {
      stream.Next();  // the extension's label
    } else {
      const int left = stream.Next16();
      const int top = stream.Next16();
      const int frameWidth = stream.Next16();
      const int frameHeight = stream.Next16();
      const int framePacked = stream.Next();
      if (framePacked < 0) break;
      width = left + frameWidth > width ? left + frameWidth : width;
      height = top + frameHeight > height ? top + frameHeight : height;
      framePixels += int64_t{frameWidth} * frameHeight;
      stream.at += 1 + ((framePacked & 0x80) != 0 ? 3 << ((framePacked & 7) + 1) : 0);
    }
    if (!stream.SkipSubBlocks()) break;
  }
  const int64_t screenPixels = width * height;
  return {PictureKind::Gif, width, height, framePixels > screenPixels ? framePixels : screenPixels};
}

// A TIFF's first directory: its size tags, and the rows a strip or a tile
// holds, which the decoders read whole. A directory that cannot be read,
// and a BigTIFF, are taken as the costlier kind; the decoder tells the size.
StatedPicture ReadTiff(const PictureBytes& file, const std::vector<uint8_t>& head) {
  const StatedPicture unread = Stated(PictureKind::TiffInLargeBlocks, 0, 0);
  const bool little = head[0] == 'I';
  const auto read16 = [little](const uint8_t* at) { return little ? Little16(at) : Big16(at); };
  const auto read32 = [little](const uint8_t* at) { return little ? Little32(at) : Big32(at); };
  if (head.size() < 8) return unread;
  const int64_t directory = read32(head.data() + 4);
  uint8_t count[2];
  if (file.read(file.context, directory, count, 2) != 2) return unread;
  const int64_t entries = read16(count);
  std::vector<uint8_t> table(static_cast<size_t>(entries) * 12);
  if (file.read(file.context, directory + 2, table.data(), entries * 12) != entries * 12) {
    return unread;
  }
  constexpr uint32_t ShortType = 3;
  int64_t width = 0, height = 0, bits = 8, samples = 1, blockRows = 0xFFFFFFFF;
  for (int64_t i = 0; i < entries; ++i) {
    const uint8_t* entry = table.data() + i * 12;
    // A value of one short or long sits in the entry itself, and so do the
    // first two of several shorts; more than that lie at the offset the
    // entry holds. Of the bits per sample, the first is taken.
    const bool isShort = read16(entry + 2) == ShortType;
    int64_t value = isShort ? read16(entry + 8) : read32(entry + 8);
    if (read16(entry) == 258 && isShort && read32(entry + 4) > 2) {
      uint8_t first[2];
      value = file.read(file.context, read32(entry + 8), first, 2) == 2 ? read16(first) : 64;
    }
    switch (read16(entry)) {
      case 256: width = value; break;
      case 257: height = value; break;
      case 258: bits = value; break;
      case 277: samples = value; break;
      case 278: blockRows = value; break;
      case 323: blockRows = value; break;  // tile length: a row of tiles is read at a time
      default: break;
    }
  }
  // Each factor is bounded before they are multiplied.
  const int64_t rows = blockRows < height ? blockRows : height;
  const bool unbounded = width > MaxPictureSide || rows > MaxPictureSide || samples > 16 || bits > 64;
  const bool large =
      unbounded || width * rows * samples * ((bits + 7) / 8) > LargeTiffBlockBytes;
  return Stated(large ? PictureKind::TiffInLargeBlocks : PictureKind::Tiff, width, height);
}

}  // namespace

StatedPicture ReadStatedPicture(const PictureBytes& file) {
  const int64_t headSize = file.size < HeadBytes ? file.size : HeadBytes;
  std::vector<uint8_t> head(static_cast<size_t>(headSize));
  head.resize(static_cast<size_t>(file.read(file.context, 0, head.data(), headSize)));
  StatedSides sides;
  if (StartsWith(head, "\x89PNG")) return ReadPng(head);
  if (head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8) return ReadJpeg(head);
  if (StartsWith(head, "GIF")) return ReadGif(file);  // as its decoders, whatever the version
  if (StartsWith(head, "RIFF") && StartsWith(head, "WEBP", 8)) return ReadWebp(head);
  if (StartsWith(head, "II*\0") || StartsWith(head, "MM\0*")) return ReadTiff(file, head);
  if (StartsWith(head, "BM") && ReadStatedSides(head.data(), head.size(), sides)) {
    const bool plain = IsPlainBmp(head.data(), head.size());
    return Stated(plain ? PictureKind::Bmp : PictureKind::CompressedBmp, sides.width,
                  sides.height);
  }
  if (StartsWith(head, "ftyp", 4)) return Stated(PictureKind::Heif, 0, 0);
  return Stated(PictureKind::Other, 0, 0);
}
