// The header fields read here: the file header (14 bytes: "BM", the file's
// size, the offset of the rows), then the information header, whose first
// four bytes give its size. The oldest (12 bytes) has 16-bit sides and a
// colour table of 3-byte entries; the later ones (40 to 124 bytes) signed
// 32-bit sides, a compression, the number of table entries used, and from
// 52 bytes on the bit fields' masks, from 56 on the alpha mask too. A
// 40-byte header with bit fields has the masks after it.
#include "picture/bmp_reader.h"

#include <vector>

#include "picture/decode_rules.h"

namespace {

constexpr uint32_t Uncompressed = 0;
constexpr uint32_t BitFields = 3;
constexpr uint32_t AlphaBitFields = 6;
constexpr size_t FileHeaderBytes = 14;

uint32_t Little16(const uint8_t* at) { return uint32_t{at[1]} << 8 | at[0]; }
uint32_t Little32(const uint8_t* at) { return Little16(at + 2) << 16 | Little16(at); }

bool KnownHeaderSize(uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// One channel of a pixel by its mask: the masked bits, scaled to 0 to 255.
struct Channel {
  uint32_t mask;
  int shift;
  uint32_t largest;  // the mask's value shifted down
};

Channel ChannelOf(uint32_t mask) {
  Channel channel = {mask, 0, 0};
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    channel.shift += 1;
  }
  channel.largest = mask;
  return channel;
}

uint8_t Scaled(uint32_t pixel, const Channel& channel) {
  if (channel.largest == 0) return 0;
  const uint64_t value = (pixel & channel.mask) >> channel.shift;
  return static_cast<uint8_t>((value * 255 + channel.largest / 2) / channel.largest);
}

struct BmpLayout {
  int64_t width;
  int64_t height;  // rows stored top-down where the header's height is negative
  bool topDown;
  int32_t bits;
  int64_t rowsAt;
  int64_t stride;
  Channel red, green, blue, alpha;  // for 16 and 32 bits a pixel
  int64_t tableAt;
  int32_t tableEntryBytes;
  int32_t tableEntries;
};

BmpLayout ReadLayout(const uint8_t* head) {
  BmpLayout layout = {};
  const uint8_t* info = head + FileHeaderBytes;
  const uint32_t infoSize = Little32(info);
  layout.rowsAt = Little32(head + 10);
  layout.tableAt = static_cast<int64_t>(FileHeaderBytes + infoSize);
  if (infoSize == 12) {
    layout.width = Little16(info + 4);
    layout.height = Little16(info + 6);
    layout.bits = static_cast<int32_t>(Little16(info + 10));
    layout.tableEntryBytes = 3;
    layout.tableEntries = layout.bits <= 8 ? 1 << layout.bits : 0;
  } else {
    const auto height = static_cast<int32_t>(Little32(info + 8));
    layout.width = static_cast<int32_t>(Little32(info + 4));
    layout.topDown = height < 0;
    layout.height = layout.topDown ? -int64_t{height} : height;
    layout.bits = static_cast<int32_t>(Little16(info + 14));
    layout.tableEntryBytes = 4;
    const uint32_t used = Little32(info + 32);
    layout.tableEntries = layout.bits > 8 ? 0
                          : used == 0 || used > (1u << layout.bits) ? 1 << layout.bits
                                                                    : static_cast<int32_t>(used);
  }
  layout.stride = (layout.width * layout.bits + 31) / 32 * 4;
  // Without masks, 16 bits are 5 of each colour and 32 bits are blue,
  // green, red and a byte unused.
  uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};
  if (layout.bits == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }
  const uint32_t compression = infoSize == 12 ? Uncompressed : Little32(info + 16);
  if (compression == BitFields || compression == AlphaBitFields) {
    // The masks follow a 40-byte header, or lie in a larger one.
    const uint8_t* at = info + 40;
    const int count = compression == AlphaBitFields || infoSize >= 56 ? 4 : 3;
    for (int i = 0; i < count; ++i) masks[i] = Little32(at + 4 * i);
    if (infoSize == 40) layout.tableAt += 4 * (compression == AlphaBitFields ? 4 : 3);
  }
  // Writers leave out the entries no pixel uses: the table ends where the
  // rows begin, whatever the header says.
  const int64_t room = (layout.rowsAt - layout.tableAt) / layout.tableEntryBytes;
  if (room < layout.tableEntries) layout.tableEntries = room > 0 ? static_cast<int32_t>(room) : 0;
  layout.red = ChannelOf(masks[0]);
  layout.green = ChannelOf(masks[1]);
  layout.blue = ChannelOf(masks[2]);
  layout.alpha = ChannelOf(masks[3]);
  return layout;
}

// One stored row as R, G, B, A.
void ExpandRow(const BmpLayout& layout, const uint8_t* stored, const uint8_t* table,
               uint8_t* rgba) {
  for (int64_t x = 0; x < layout.width; ++x, rgba += 4) {
    if (layout.bits <= 8) {
      const int64_t bit = x * layout.bits;
      const int shift = 8 - layout.bits - static_cast<int>(bit % 8);
      const uint32_t index = stored[bit / 8] >> shift & ((1u << layout.bits) - 1);
      // An index beyond the table is black.
      static constexpr uint8_t Black[3] = {0, 0, 0};
      const bool inTable = index < static_cast<uint32_t>(layout.tableEntries);
      const uint8_t* entry = inTable ? table + layout.tableEntryBytes * index : Black;
      rgba[0] = entry[2];
      rgba[1] = entry[1];
      rgba[2] = entry[0];
      rgba[3] = 255;
    } else if (layout.bits == 24) {
      const uint8_t* pixel = stored + x * 3;
      rgba[0] = pixel[2], rgba[1] = pixel[1], rgba[2] = pixel[0], rgba[3] = 255;
    } else {
      const uint32_t pixel = layout.bits == 16 ? Little16(stored + x * 2) : Little32(stored + x * 4);
      rgba[0] = Scaled(pixel, layout.red);
      rgba[1] = Scaled(pixel, layout.green);
      rgba[2] = Scaled(pixel, layout.blue);
      rgba[3] = layout.alpha.mask != 0 ? Scaled(pixel, layout.alpha) : 255;
    }
  }
}

}  // namespace

bool IsPlainBmp(const uint8_t* head, size_t size) {
  if (size < FileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M') return false;
  const uint8_t* info = head + FileHeaderBytes;
  const uint32_t infoSize = Little32(info);
  if (!KnownHeaderSize(infoSize) || size < FileHeaderBytes + infoSize) return false;
  const uint32_t bits = Little16(info + (infoSize == 12 ? 10 : 14));
  const uint32_t compression = infoSize == 12 ? Uncompressed : Little32(info + 16);
  const size_t masksAfter = infoSize != 40 ? 0
                            : compression == AlphaBitFields ? 16
                            : compression == BitFields      ? 12
                                                            : 0;
  if (size < FileHeaderBytes + infoSize + masksAfter) return false;
  const bool plain = bits == 1 || bits == 4 || bits == 8 || bits == 24
                         ? compression == Uncompressed
                         : (bits == 16 || bits == 32) &&
                               (compression == Uncompressed || compression == BitFields ||
                                compression == AlphaBitFields);
  return plain;
}

DecodeOutcome DecodePlainBmp(const PictureBytes& file, PictureSink sink) {
  // IsPlainBmp has seen the whole header and its masks: a short read
  // leaves zeros only where no field is read.
  uint8_t head[FileHeaderBytes + 124 + 16] = {};
  file.read(file.context, 0, head, sizeof head);
  const BmpLayout layout = ReadLayout(head);
  const DecodeOutcome size_check = CheckPictureSize(layout.width, layout.height);
  if (size_check != DecodeOutcome::Decoded) return size_check;
  std::vector<uint8_t> table(static_cast<size_t>(layout.tableEntries * layout.tableEntryBytes));
  if (file.read(file.context, layout.tableAt, table.data(), static_cast<int64_t>(table.size())) !=
          static_cast<int64_t>(table.size()) ||
      layout.rowsAt + layout.stride * layout.height > file.size) {
    return DecodeOutcome::Damaged;
  }
  std::vector<uint8_t> stored(static_cast<size_t>(layout.stride));
  std::vector<uint8_t> rgba(static_cast<size_t>(layout.width) * 4);
  sink.start(sink.context, static_cast<int32_t>(layout.width), static_cast<int32_t>(layout.height),
             1);
  for (int64_t y = 0; y < layout.height; ++y) {
    const int64_t storedRow = layout.topDown ? y : layout.height - 1 - y;
    if (file.read(file.context, layout.rowsAt + storedRow * layout.stride, stored.data(),
                  layout.stride) != layout.stride) {
      return DecodeOutcome::Damaged;
    }
    ExpandRow(layout, stored.data(), table.data(), rgba.data());
    ClearTransparentPixels(rgba.data(), static_cast<int32_t>(layout.width));
    sink.row(sink.context, static_cast<int32_t>(y), rgba.data());
  }
  return DecodeOutcome::Decoded;
}
