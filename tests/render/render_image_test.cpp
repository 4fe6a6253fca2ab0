// The renderer's images of a random screen: the BMP preview, and the PNG
// decoded again by libpng, pixel by pixel against the glyph table in C64
// colours, a set bit in its cell's ink, each pixel scale x scale; its
// palette only as large, and its pixels only as deep, as the colours need.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bmp/pixel_layout.h"
#include "match/glyph_table.h"
#include "screens/bmp_image.h"
#include "outputs/png_image.h"
#include "outputs/screen_drawing.h"

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
  // Cell c has ink (firstInk + c % inks) % 16; drawn in the row's set.
  struct Row { int scale, inks, firstInk, background, entries, depth; CharacterSet set; };
  constexpr CharacterSet Upper = CharacterSet::Upper, Lower = CharacterSet::Lower;
  const Row rows[] = {
      {1, 1, 1, 0, 2, 1, Lower},
      {3, 16, 0, 9, 16, 4, Lower},
      {1, 1, 1, 0, 2, 1, Upper},
      {2, 1, 14, 6, 2, 1, Upper},
      {3, 1, 7, 7, 1, 1, Upper},
      {8, 1, 0, 15, 2, 1, Upper},
      {2, 3, 5, 6, 3, 2, Upper},
      {1, 3, 1, 0, 4, 2, Upper},
      {1, 4, 1, 0, 5, 4, Upper},
      {3, 16, 0, 9, 16, 4, Upper},
      {8, 16, 3, 0, 16, 4, Upper},
  };
  std::vector<uint8_t> png(PngImageCapacity), rgb;
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "scale " << r.scale << ", inks " << r.inks);
    const int scale = r.scale, background = r.background;
    DrawScreen(codes, pixels, r.set);
    BuildBmpImage(pixels, bmp);
    uint8_t inks[1000];
    for (int cell = 0; cell < 1000; ++cell)
      inks[cell] = uint8_t((r.firstInk + cell % r.inks) % 16);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const int32_t size = EncodePngImage(pixels, inks, background, scale, png.data());
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), size_t(size)));
    EXPECT_EQ(image.colormap_entries, static_cast<unsigned>(r.entries));
    EXPECT_EQ(png[24], r.depth);  // the bit depth in the header
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    ASSERT_EQ(image.width, 320u * scale);
    ASSERT_EQ(image.height, 200u * scale);
    int wrong = 0;
    for (int y = 0; y < 200 * scale; ++y)
      for (int x = 0; x < 320 * scale; ++x) {
        const int column = x / scale, row = y / scale, mask = 0x80 >> column % 8;
        const int cell = row / 8 * 40 + column / 8;
        const bool set = GlyphTableOf(r.set)[codes[cell] * 8 + row % 8] & mask;
        // The BMP's rows start at byte 62, bottom row first.
        wrong += set != ((bmp[62 + (199 - row) * 40 + column / 8] & mask) != 0) ||
                 std::memcmp(&rgb[(y * 320 * scale + x) * 3],
                             &C64Palette[set ? inks[cell] : background], 3) != 0;
      }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
