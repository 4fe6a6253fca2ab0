// The PNG preview decoded by libpng, pixel by pixel against the BMP preview
// of the same screen with its two colours put in: ink for a set bit,
// background for a clear one, each pixel scale x scale.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "program_runs.h"
#include "render/c64_colours.h"
#include "temp_folder.h"

namespace {

struct Decoded {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;
};

Decoded DecodePng(const std::string& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Decoded decoded;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return decoded;
  image.format = PNG_FORMAT_RGB;
  decoded.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, decoded.rgb.data(), 0, nullptr)) return decoded;
  decoded.width = image.width;
  decoded.height = image.height;
  return decoded;
}

TEST(PngImage, IsTheBmpPreviewInC64Colours) {
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  WriteFile(screen, RandomScreen(99, 256));
  ASSERT_EQ(RunRenderer({screen, folder.Path("preview.bmp")}).status, 0);
  const std::string bmp = ReadWholeFile(folder.Path("preview.bmp"));
  const struct {
    std::vector<std::string> options;
    uint32_t scale;
    int ink, background;
  } cases[] = {
      {{}, 2, 14, 6},
      {{"--scale", "1", "--ink", "1", "--background", "0"}, 1, 1, 0},
      {{"--background", "7", "--scale", "3", "--ink", "2"}, 3, 2, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    std::vector<std::string> arguments = {screen, folder.Path("preview.PNG")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(RunRenderer(arguments).status, 0);
    const Decoded png = DecodePng(ReadWholeFile(folder.Path("preview.PNG")));
    ASSERT_EQ(png.width, 320 * c.scale);
    ASSERT_EQ(png.height, 200 * c.scale);
    int wrong = 0;
    for (uint32_t y = 0; y < png.height; ++y) {
      for (uint32_t x = 0; x < png.width; ++x) {
        // The BMP's pixel rows start at byte 62, bottom row first.
        const uint32_t bmpX = x / c.scale, bmpY = 199 - y / c.scale;
        const bool set = static_cast<uint8_t>(bmp[62 + bmpY * 40 + bmpX / 8]) & (0x80 >> bmpX % 8);
        const RgbColour want = C64Palette[set ? c.ink : c.background];
        const uint8_t* got = &png.rgb[(y * png.width + x) * 3];
        wrong += got[0] != want.red || got[1] != want.green || got[2] != want.blue;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
