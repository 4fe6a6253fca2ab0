// PNG output without libpng, for the page's engine, where no zlib is at
// hand: the rows go into the zlib stream as stored (uncompressed) deflate
// blocks. The image is the same as libpng's, pixel for pixel; only the file
// is larger (at scale 2 and one ink, 16 KiB rather than a few).
#include <cstring>

#include "match/screen_layout.h"
#include "outputs/png_image.h"

const bool PngOutputAvailable = true;

namespace {

// A stored deflate block holds at most this many bytes.
constexpr int32_t StoredBlockBytes = 65535;

uint32_t crcTable[256];

void FillCrcTable() {
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    crcTable[n] = c;
  }
}

uint32_t Crc(const uint8_t* bytes, int32_t count) {
  if (crcTable[1] == 0) FillCrcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (int32_t i = 0; i < count; ++i) c = crcTable[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

struct PngWriter {
  uint8_t* image;
  int32_t length;
  int32_t chunkStart;  // where the open chunk's type begins
  uint32_t adlerLow;   // the zlib stream's Adler-32, in its two halves
  uint32_t adlerHigh;
};

void PutBig32(PngWriter& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.image[out.length++] = static_cast<uint8_t>(value >> shift);
}

void PutBytes(PngWriter& out, const void* bytes, int32_t count) {
  std::memcpy(out.image + out.length, bytes, static_cast<size_t>(count));
  out.length += count;
}

void OpenChunk(PngWriter& out, const char type[4]) {
  out.length += 4;  // the length, filled in when the chunk closes
  out.chunkStart = out.length;
  PutBytes(out, type, 4);
}

void CloseChunk(PngWriter& out) {
  const int32_t dataLength = out.length - out.chunkStart - 4;
  uint8_t* lengthField = out.image + out.chunkStart - 4;
  for (int i = 0; i < 4; ++i) lengthField[i] = static_cast<uint8_t>(dataLength >> (24 - 8 * i));
  PutBig32(out, Crc(out.image + out.chunkStart, out.length - out.chunkStart));
}

// Appends bytes to the zlib stream's data: a new stored block whenever the
// open one is full. blockFill counts the open block's bytes; the header of
// a block is written with its length once that is known.
struct StoredStream {
  int32_t blockHeader;  // where the open block's header is, or -1
  int32_t blockFill;
};

void CloseBlock(PngWriter& out, StoredStream& stream, bool last) {
  uint8_t* header = out.image + stream.blockHeader;
  const auto length = static_cast<uint16_t>(stream.blockFill);
  header[0] = last ? 1 : 0;
  header[1] = static_cast<uint8_t>(length);
  header[2] = static_cast<uint8_t>(length >> 8);
  header[3] = static_cast<uint8_t>(~length);
  header[4] = static_cast<uint8_t>(~length >> 8);
  stream.blockHeader = -1;
}

void Deflate(PngWriter& out, StoredStream& stream, const uint8_t* bytes, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    if (stream.blockHeader >= 0 && stream.blockFill == StoredBlockBytes) CloseBlock(out, stream, false);
    if (stream.blockHeader < 0) {
      stream.blockHeader = out.length;
      stream.blockFill = 0;
      out.length += 5;
    }
    out.image[out.length++] = bytes[i];
    ++stream.blockFill;
    out.adlerLow = (out.adlerLow + bytes[i]) % 65521;
    out.adlerHigh = (out.adlerHigh + out.adlerLow) % 65521;
  }
}

uint8_t scaledRow[1 + LargestScaledRowBytes];

}  // namespace

int32_t EncodePngImage(const uint8_t* pixelRows, const uint8_t* inks, uint8_t background,
                       int scale, uint8_t* image) {
  PreviewPalette entries;
  ChoosePalette(inks, background, entries);
  PngWriter out{image, 0, 0, 1, 0};
  static constexpr uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutBytes(out, Signature, 8);
  OpenChunk(out, "IHDR");
  PutBig32(out, static_cast<uint32_t>(PixelColumns * scale));
  PutBig32(out, static_cast<uint32_t>(PixelRows * scale));
  // Bit depth, palette colour type, then deflate, adaptive filters and no
  // interlace, each 0.
  const uint8_t format[5] = {static_cast<uint8_t>(entries.bitDepth), 3, 0, 0, 0};
  PutBytes(out, format, 5);
  CloseChunk(out);
  OpenChunk(out, "PLTE");
  for (int entry = 0; entry < entries.count; ++entry) {
    const RgbColour& colour = C64Palette[entries.colours[entry]];
    const uint8_t rgb[3] = {colour.red, colour.green, colour.blue};
    PutBytes(out, rgb, 3);
  }
  CloseChunk(out);
  OpenChunk(out, "IDAT");
  static constexpr uint8_t ZlibHeader[2] = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
  PutBytes(out, ZlibHeader, 2);
  StoredStream stream{-1, 0};
  const int32_t rowBytes = PixelRowBytes * scale * entries.bitDepth;
  scaledRow[0] = 0;  // every row unfiltered
  for (int row = 0; row < PixelRows; ++row) {
    ScaleColourRow(pixelRows + row * PixelRowBytes, inks + row / GlyphRows * CellColumns, entries,
                   scale, scaledRow + 1);
    for (int copy = 0; copy < scale; ++copy) Deflate(out, stream, scaledRow, 1 + rowBytes);
  }
  CloseBlock(out, stream, true);
  PutBig32(out, out.adlerHigh << 16 | out.adlerLow);
  CloseChunk(out);
  OpenChunk(out, "IEND");
  CloseChunk(out);
  return out.length;
}
