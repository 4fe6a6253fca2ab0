// Plain BMPs of one or two rows, each read into RGBA: every pixel layout
// the reader takes, from palettes to bit fields, and the row order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "picture/bmp_reader.h"
#include "picture/decode_rules.h"

namespace {

struct Bmp {
  const char* what;
  uint32_t infoSize;     // 12, 40 or 56
  uint16_t bits;
  uint32_t compression;  // 0 plain, 3 bit fields
  int32_t height;        // of two pixels a row; negative: stored top-down
  std::vector<uint32_t> masks;  // red, green, blue (and alpha) with bit fields
  std::vector<uint8_t> table;   // colour table, entries of 3 bytes (12) or 4
  std::vector<uint8_t> rows;    // as stored, each padded to 4 bytes
  std::vector<uint8_t> rgba;    // expected, top row first
};

const Bmp Cases[] = {
    {"1 bit", 40, 1, 0, 1, {}, {0, 0, 0, 0, 255, 255, 255, 0}, {0x80, 0, 0, 0},
     {255, 255, 255, 255, 0, 0, 0, 255}},
    {"4 bits, high nibble first", 40, 4, 0, 1, {}, {1, 2, 3, 0, 4, 5, 6, 0}, {0x10, 0, 0, 0},
     {6, 5, 4, 255, 3, 2, 1, 255}},
    {"8 bits, beyond the table", 40, 8, 0, 1, {}, {9, 9, 9, 0}, {0, 5, 0, 0},
     {9, 9, 9, 255, 0, 0, 0, 255}},
    {"oldest header, 3-byte entries", 12, 8, 0, 1, {}, {1, 2, 3, 4, 5, 6}, {1, 0, 0, 0},
     {6, 5, 4, 255, 3, 2, 1, 255}},
    {"16 bits, 5 each", 40, 16, 0, 1, {}, {}, {0x00, 0x7C, 0xFF, 0x7F},
     {255, 0, 0, 255, 255, 255, 255, 255}},
    {"16 bits, 5-6-5 fields", 40, 16, 3, 1, {0xF800, 0x07E0, 0x001F}, {}, {0xE0, 0x07, 0x10, 0x08},
     {0, 255, 0, 255, 8, 0, 132, 255}},
    {"24 bits", 40, 24, 0, 1, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0}, {3, 2, 1, 255, 6, 5, 4, 255}},
    {"32 bits, fourth byte unused", 40, 32, 0, 1, {}, {}, {1, 2, 3, 0, 4, 5, 6, 7},
     {3, 2, 1, 255, 6, 5, 4, 255}},
    {"32 bits, alpha field", 56, 32, 3, 1, {0xFF0000, 0xFF00, 0xFF, 0xFF000000u}, {},
     {1, 2, 3, 0, 4, 5, 6, 128}, {0, 0, 0, 0, 6, 5, 4, 128}},
    {"bottom-up", 40, 8, 0, 2, {}, {1, 1, 1, 0, 2, 2, 2, 0}, {0, 0, 0, 0, 1, 1, 0, 0},
     {2, 2, 2, 255, 2, 2, 2, 255, 1, 1, 1, 255, 1, 1, 1, 255}},
    {"top-down", 40, 8, 0, -2, {}, {1, 1, 1, 0, 2, 2, 2, 0}, {0, 0, 0, 0, 1, 1, 0, 0},
     {1, 1, 1, 255, 1, 1, 1, 255, 2, 2, 2, 255, 2, 2, 2, 255}},
};

void Put(std::vector<uint8_t>& file, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> FileOf(const Bmp& bmp) {
  const size_t info = bmp.infoSize + (bmp.infoSize == 40 ? 4 * bmp.masks.size() : 0);
  const size_t rowsAt = 14 + info + bmp.table.size();
  std::vector<uint8_t> file(rowsAt + bmp.rows.size());
  file[0] = 'B', file[1] = 'M';
  Put(file, 10, static_cast<uint32_t>(rowsAt), 4);
  Put(file, 14, bmp.infoSize, 4);
  const bool oldest = bmp.infoSize == 12;
  Put(file, 18, 2, oldest ? 2 : 4);
  Put(file, oldest ? 20 : 22, static_cast<uint32_t>(bmp.height), oldest ? 2 : 4);
  Put(file, oldest ? 24 : 28, bmp.bits, 2);
  if (!oldest) Put(file, 30, bmp.compression, 4);
  for (size_t i = 0; i < bmp.masks.size(); ++i) Put(file, 54 + 4 * i, bmp.masks[i], 4);
  // std::copy, since an empty table's data() may be null, which memcpy may not take.
  std::copy(bmp.table.begin(), bmp.table.end(), file.begin() + 14 + static_cast<ptrdiff_t>(info));
  std::copy(bmp.rows.begin(), bmp.rows.end(), file.begin() + static_cast<ptrdiff_t>(rowsAt));
  return file;
}

void Start(void*, int32_t, int32_t, PictureOrientation) {}
void Row(void* rows, int32_t, const uint8_t* rgba) {
  auto& all = *static_cast<std::vector<uint8_t>*>(rows);
  all.insert(all.end(), rgba, rgba + 8);
}

TEST(BmpReader, ReadsEachLayout) {
  for (const Bmp& bmp : Cases) {
    const std::vector<uint8_t> file = FileOf(bmp);
    BytesInMemory held = {file.data(), file.size()};
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(IsPlainBmp(file.data(), file.size())) << bmp.what;
    EXPECT_EQ(DecodePlainBmp(ReadFromMemory(held), {Start, Row, &rgba}), DecodeOutcome::Decoded)
        << bmp.what;
    EXPECT_EQ(rgba, bmp.rgba) << bmp.what;
  }
}

}  // namespace
