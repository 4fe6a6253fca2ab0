// The image file the renderer builds: every header field, the colour table
// and the order of the pixel rows.
#include "render/bmp_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(BmpImage, HeaderColourTableAndBottomUpRows) {
  std::vector<uint8_t> rows(ImagePixelSize);  // no two rows alike
  for (size_t i = 0; i < rows.size(); ++i)
    rows[i] = static_cast<uint8_t>(i / 40 * 41 + i % 40 * 3 + 1);
  std::vector<uint8_t> image(ImageFileSize, 0xEE);  // leftovers the build must overwrite
  BuildBmpImage(rows.data(), image.data());

  const struct {
    size_t offset;
    int size;
    uint32_t value;
  } fields[] = {
      {0, 2, 0x4D42},  // "BM"
      {2, 4, 8062},  {6, 2, 0},     {8, 2, 0},  {10, 4, 62}, {14, 4, 40},   {18, 4, 320},
      {22, 4, 200},  {26, 2, 1},    {28, 2, 1}, {30, 4, 0},  {34, 4, 8000}, {38, 4, 2835},
      {42, 4, 2835}, {46, 4, 2},    {50, 4, 2},
      {54, 4, 0},    {58, 4, 0xFFFFFF},  // black, then white
  };
  for (const auto& field : fields) {
    uint32_t value = 0;
    for (int i = field.size - 1; i >= 0; --i)
      value = value << 8 | image[field.offset + static_cast<size_t>(i)];
    EXPECT_EQ(value, field.value) << "offset " << field.offset;
  }
  std::vector<uint8_t> bottomUp;  // the top image row is the last in the file
  for (size_t row = 200; row-- > 0;)
    bottomUp.insert(bottomUp.end(), rows.begin() + row * 40, rows.begin() + row * 40 + 40);
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + ImagePixelOffset, image.end()), bottomUp);
}

}  // namespace
