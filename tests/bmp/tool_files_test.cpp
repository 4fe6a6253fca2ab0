// 1-bit BMP files saved by ImageMagick, Pillow and netpbm from one known
// picture (see fixtures/make_fixtures.sh) load with the picture intact.
#include <gtest/gtest.h>

#include "bmp/pixel_data.h"
#include "bmp_run.h"
#include "bmp_test_files.h"
#include "temp_folder.h"

namespace {

// The picture the fixtures were made from; true is black.
bool PictureIsBlack(int x, int y) { return (x + 2 * y) % 11 < 3 || (y < 8 && x < 64); }

uint32_t LittleEndianAt(const std::vector<uint8_t>& file, size_t offset) {
  return static_cast<uint32_t>(file[offset]) | static_cast<uint32_t>(file[offset + 1]) << 8 |
         static_cast<uint32_t>(file[offset + 2]) << 16 |
         static_cast<uint32_t>(file[offset + 3]) << 24;
}

struct ToolFileCase {
  const char* fileName;
  int64_t pixelOffset;  // what the tool writes, checked against the file
};

void PrintTo(const ToolFileCase& c, std::ostream* os) { *os << c.fileName; }

class ToolFile : public testing::TestWithParam<ToolFileCase> {};

TEST_P(ToolFile, LoadsThePictureAsStored) {
  const ToolFileCase& c = GetParam();
  std::string path = std::string(CELLGLYPH_BMP_FIXTURES) + "/" + c.fileName;
  std::string content = ReadWholeFile(path);
  std::vector<uint8_t> file(content.begin(), content.end());
  ASSERT_GT(file.size(), 62u);
  ASSERT_EQ(LittleEndianAt(file, 10), c.pixelOffset);

  // The bits are taken as stored, so which value means black depends on the
  // colour table, which follows the info header.
  size_t colourTable = 14 + LittleEndianAt(file, 14);
  uint32_t colour0 = LittleEndianAt(file, colourTable) & 0xFFFFFF;
  uint32_t colour1 = LittleEndianAt(file, colourTable + 4) & 0xFFFFFF;
  ASSERT_TRUE((colour0 == 0 && colour1 == 0xFFFFFF) || (colour0 == 0xFFFFFF && colour1 == 0))
      << "not a black and white colour table";
  int blackBit = colour0 == 0 ? 0 : 1;

  BmpRun run = RunBmpInput(path, BmpStages::All);
  EXPECT_FALSE(run.endStatus.has_value());
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{
                "[54 bytes read] done.", "8000 bytes bitmap data.",
                "Starting at position: " + std::to_string(c.pixelOffset) + " byte",
                "Hires: Image is in black/white mode.", "8000 bytes PixelData read."}));
  EXPECT_EQ(run.totalBytesRead, 8054);

  int wrongPixels = 0;
  for (int y = 0; y < PixelRows; ++y) {
    for (int x = 0; x < PixelRowBytes * 8; ++x) {
      int bit = PixelData[y * PixelRowBytes + x / 8] >> (7 - x % 8) & 1;
      int expected = PictureIsBlack(x, y) ? blackBit : 1 - blackBit;
      if (bit != expected && ++wrongPixels <= 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << bit;
    }
  }
  EXPECT_EQ(wrongPixels, 0);
}

INSTANTIATE_TEST_SUITE_P(Bmp, ToolFile,
                         testing::Values(ToolFileCase{"imagemagick_v4.bmp", 130},
                                         ToolFileCase{"imagemagick_bmp3_white_first.bmp", 62},
                                         ToolFileCase{"pillow.bmp", 62},
                                         ToolFileCase{"netpbm.bmp", 62}),
                         [](const testing::TestParamInfo<ToolFileCase>& info) {
                           std::string name = info.param.fileName;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
