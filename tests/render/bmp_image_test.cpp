// The image file the renderer builds: every header field, the colour table
// and the order of the pixel rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/bmp_image.h"

namespace {

uint32_t ValueAt(const std::vector<uint8_t>& image, size_t offset, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | image[offset + static_cast<size_t>(i)];
  return value;
}

std::vector<uint8_t> BuildFrom(const std::vector<uint8_t>& pixelRows) {
  std::vector<uint8_t> image(ImageFileSize, 0xEE);  // leftovers every build must overwrite
  BuildBmpImage(pixelRows.data(), image.data());
  return image;
}

struct HeaderFieldCase {
  const char* name;
  size_t offset;
  int size;
  uint32_t value;
};

TEST(BmpImage, EveryHeaderFieldHasTheConvertersForm) {
  const HeaderFieldCase fields[] = {
      {"bfSize", 2, 4, 8062},          {"bfReserved1", 6, 2, 0},
      {"bfReserved2", 8, 2, 0},        {"bfOffBits", 10, 4, 62},
      {"biSize", 14, 4, 40},           {"biWidth", 18, 4, 320},
      {"biHeight", 22, 4, 200},        {"biPlanes", 26, 2, 1},
      {"biBitCount", 28, 2, 1},        {"biCompression", 30, 4, 0},
      {"biSizeImage", 34, 4, 8000},    {"biXPelsPerMeter", 38, 4, 2835},
      {"biYPelsPerMeter", 42, 4, 2835}, {"biClrUsed", 46, 4, 2},
      {"biClrImportant", 50, 4, 2},
  };
  std::vector<uint8_t> image = BuildFrom(std::vector<uint8_t>(8000, 0));
  ASSERT_EQ(image.size(), 8062u);
  EXPECT_EQ(image[0], 'B');
  EXPECT_EQ(image[1], 'M');
  for (const HeaderFieldCase& field : fields)
    EXPECT_EQ(ValueAt(image, field.offset, field.size), field.value) << field.name;
}

TEST(BmpImage, TheColourTableIsBlackThenWhite) {
  std::vector<uint8_t> image = BuildFrom(std::vector<uint8_t>(8000, 0));
  const std::vector<uint8_t> table(image.begin() + 54, image.begin() + 62);
  EXPECT_EQ(table, (std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}));
}

TEST(BmpImage, PixelRowsAreStoredBottomRowFirst) {
  std::vector<uint8_t> pixelRows(8000);
  for (size_t row = 0; row < 200; ++row)
    for (size_t x = 0; x < 40; ++x) pixelRows[row * 40 + x] = static_cast<uint8_t>(row * 41 + x * 3 + 1);
  std::vector<uint8_t> image = BuildFrom(pixelRows);
  int wrong = 0;
  for (size_t row = 0; row < 200; ++row)
    for (size_t x = 0; x < 40; ++x)
      if (image[62 + (199 - row) * 40 + x] != pixelRows[row * 40 + x] && ++wrong <= 5)
        ADD_FAILURE() << "image row " << row << " byte " << x;
  EXPECT_EQ(wrong, 0);
  // The top image row is the last thing in the file.
  EXPECT_EQ(image[8061], pixelRows[39]);
}

}  // namespace
