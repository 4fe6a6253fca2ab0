// The renderer's images of a random screen: the BMP preview, and the PNG
// decoded again by libpng, pixel by pixel against the glyph table in the two
// C64 colours, ink for a set bit, each pixel scale x scale.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bmp/pixel_layout.h"
#include "match/glyph_table.h"
#include "render/bmp_image.h"
#include "render/png_image.h"
#include "render/screen_drawing.h"

namespace {

TEST(RenderImage, BmpAndPngShowTheGlyphs) {
  std::mt19937 random(99);
  uint8_t codes[1000], pixels[PixelDataSize], bmp[ImageFileSize];
  for (uint8_t& code : codes) code = static_cast<uint8_t>(random());
  DrawScreen(codes, pixels);
  BuildBmpImage(pixels, bmp);
  // The header: 8062 bytes, pixels at 62, a 40-byte info header, 320 x 200,
  // 1 plane of 1 bit, no compression, 8000 pixel bytes at 2835 pixels a
  // metre, 2 colours; then the colour table, black and white.
  const std::string header("BM\x7e\x1f\0\0\0\0\0\0\x3e\0\0\0\x28\0\0\0\x40\x01\0\0\xc8\0\0\0"
                           "\x01\0\x01\0\0\0\0\0\x40\x1f\0\0\x13\x0b\0\0\x13\x0b\0\0"
                           "\x02\0\0\0\x02\0\0\0\0\0\0\0\xff\xff\xff\0",
                           62);
  EXPECT_EQ(std::string(bmp, bmp + 62), header);
  std::vector<uint8_t> png(PngImageCapacity), rgb;
  const struct {
    int scale, ink, background;
  } images[] = {
      {1, 1, 0},
      {2, 14, 6},
      {3, 2, 7},
      {8, 0, 15},
  };
  for (const auto& [scale, ink, background] : images) {
    SCOPED_TRACE(scale);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const int32_t size =
        EncodePngImage(pixels, scale, C64Palette[ink], C64Palette[background], png.data());
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), static_cast<size_t>(size)));
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    ASSERT_EQ(image.width, 320u * scale);
    ASSERT_EQ(image.height, 200u * scale);
    int wrong = 0;
    for (int y = 0; y < 200 * scale; ++y)
      for (int x = 0; x < 320 * scale; ++x) {
        const int column = x / scale, row = y / scale, mask = 0x80 >> column % 8;
        const bool set = GlyphTable[codes[row / 8 * 40 + column / 8] * 8 + row % 8] & mask;
        // The BMP's rows start at byte 62, bottom row first.
        const RgbColour* colour = &C64Palette[set ? ink : background];
        wrong += set != ((bmp[62 + (199 - row) * 40 + column / 8] & mask) != 0) ||
                 std::memcmp(&rgb[(y * 320 * scale + x) * 3], colour, 3) != 0;
      }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
