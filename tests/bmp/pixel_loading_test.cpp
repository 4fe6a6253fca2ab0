// Loading the pixel rows: the size check, the mode lines, the bottom-up row
// order, short files and pixel offsets that point anywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "bmp/pixel_data.h"
#include "bmp_run.h"
#include "bmp_test_files.h"

namespace {

using PixelImage = std::array<uint8_t, PixelDataSize>;

PixelImage LoadedPixels() {
  PixelImage image;
  std::copy(std::begin(PixelData), std::end(PixelData), image.begin());
  return image;
}

// What PixelData must hold when the bytes of `file` from `offset` on are the
// pixel rows: file row k lands in image row 199 - k, and whatever the file
// does not have stays 0. Rows before the start of the file are not filled.
PixelImage ExpectedPixels(const std::vector<uint8_t>& file, int64_t offset) {
  PixelImage image{};
  for (int64_t fileRow = 0; fileRow < PixelRows; ++fileRow) {
    for (int64_t i = 0; i < PixelRowBytes; ++i) {
      int64_t position = offset + fileRow * PixelRowBytes + i;
      if (offset + fileRow * PixelRowBytes < 0) continue;
      if (position >= static_cast<int64_t>(file.size())) continue;
      image[static_cast<size_t>((PixelRows - 1 - fileRow) * PixelRowBytes + i)] =
          file[static_cast<size_t>(position)];
    }
  }
  return image;
}

std::vector<std::string> LoadedLines(int64_t offset, int64_t count) {
  return {"[54 bytes read] done.", "8000 bytes bitmap data.",
          "Starting at position: " + std::to_string(offset) + " byte",
          "Hires: Image is in black/white mode.", std::to_string(count) + " bytes PixelData read."};
}

TEST(PixelLoading, WellFormedImageFillsPixelDataBottomUp) {
  std::vector<uint8_t> file = WellFormedBmp();
  BmpRun run = RunBmpBytes(file, BmpStages::All);
  EXPECT_FALSE(run.endStatus.has_value());
  EXPECT_EQ(run.lines, LoadedLines(62, 8000));
  EXPECT_EQ(run.totalBytesRead, 8054);
  EXPECT_EQ(run.inputState, FileState::Input);  // the caller closes it
  // The last row in the file is the top image row, the first the bottom one.
  EXPECT_EQ(PixelData[0], file[62 + 199 * 40]);
  EXPECT_EQ(PixelData[39], file[62 + 199 * 40 + 39]);
  EXPECT_EQ(PixelData[199 * 40], file[62]);
  EXPECT_EQ(PixelData[199 * 40 + 39], file[62 + 39]);
  EXPECT_EQ(LoadedPixels(), ExpectedPixels(file, 62));
}

// A file that ends somewhere in its pixel data: the run goes on with what
// was there.
struct ShortPixelsCase {
  const char* name;
  size_t pixelBytesPresent;
  int64_t countShown;
};

void PrintTo(const ShortPixelsCase& c, std::ostream* os) { *os << c.name; }

class ShortPixelData : public testing::TestWithParam<ShortPixelsCase> {};

TEST_P(ShortPixelData, KeepsWhatWasThereAndCountsIt) {
  const ShortPixelsCase& c = GetParam();
  std::vector<uint8_t> file = WellFormedBmp();
  file.resize(62 + c.pixelBytesPresent, 0x5A);
  BmpRun run = RunBmpBytes(file, BmpStages::All);
  EXPECT_FALSE(run.endStatus.has_value());
  EXPECT_EQ(run.lines, LoadedLines(62, c.countShown));
  EXPECT_EQ(run.totalBytesRead, 54 + c.countShown);
  EXPECT_EQ(LoadedPixels(), ExpectedPixels(file, 62));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, ShortPixelData,
    testing::Values(ShortPixelsCase{"NoPixelBytes", 0, 0},
                    ShortPixelsCase{"PartOfTheBottomRow", 13, 13},
                    ShortPixelsCase{"BottomRowOnly", 40, 40},
                    ShortPixelsCase{"LowerHalf", 4000, 4000},
                    ShortPixelsCase{"TwentyBytesIntoTheTopRow", 7980, 7980},
                    ShortPixelsCase{"OneByteShort", 7999, 7999},
                    ShortPixelsCase{"TrailingBytesNotRead", 8100, 8000}),
    [](const testing::TestParamInfo<ShortPixelsCase>& info) { return info.param.name; });

TEST(PixelLoading, HalfAFileFillsTheLowerHalfOfTheImage) {
  std::vector<uint8_t> file = WellFormedBmp();
  file.resize(62 + 4000);
  RunBmpBytes(file, BmpStages::All);
  EXPECT_TRUE(std::all_of(PixelData, PixelData + 100 * 40, [](uint8_t b) { return b == 0; }));
  EXPECT_TRUE(std::none_of(PixelData + 100 * 40, PixelData + PixelDataSize,
                           [](uint8_t b) { return b == 0; }));
}

TEST(PixelLoading, TopRowCutShortKeepsItsFirstBytesAndZeros) {
  std::vector<uint8_t> file = WellFormedBmp();
  file.resize(62 + 7980);
  RunBmpBytes(file, BmpStages::All);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(PixelData[i], file[62 + 7960 + i]) << "byte " << i;
  for (int i = 20; i < 40; ++i) EXPECT_EQ(PixelData[i], 0) << "byte " << i;
  EXPECT_EQ(PixelData[40], file[62 + 7920]);
}

// Where the pixel data starts is the header's word alone: a larger info
// header or colour table in between is skipped, and an offset of 0 reads
// the header itself as pixels.
struct OffsetCase {
  const char* name;
  uint32_t biSize;
  uint32_t bfOffBits;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }

class PixelOffset : public testing::TestWithParam<OffsetCase> {};

TEST_P(PixelOffset, RowsAreReadFromTheAnnouncedPosition) {
  const OffsetCase& c = GetParam();
  BmpHeaderValues values;
  values.biSize = c.biSize;
  values.bfOffBits = c.bfOffBits;
  values.bfSize = c.bfOffBits + 8000;
  std::vector<uint8_t> file;
  if (c.bfOffBits >= HeaderBytes) {
    file = BuildBmp(values, c.bfOffBits - HeaderBytes, PixelBytes);
  } else {
    file = BuildBmp(values, 0, c.bfOffBits + PixelBytes - HeaderBytes);
  }
  BmpRun run = RunBmpBytes(file, BmpStages::All);
  EXPECT_FALSE(run.endStatus.has_value());
  EXPECT_EQ(run.lines, LoadedLines(c.bfOffBits, 8000));
  EXPECT_EQ(run.totalBytesRead, 8054);
  EXPECT_EQ(LoadedPixels(), ExpectedPixels(file, c.bfOffBits));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, PixelOffset,
    testing::Values(OffsetCase{"NoColourTable", 40, 54}, OffsetCase{"InfoHeaderV4", 108, 130},
                    OffsetCase{"InfoHeaderV5", 124, 146},
                    OffsetCase{"LargeColourTable", 40, 1078},
                    OffsetCase{"HeaderReadAsPixels", 40, 0},
                    OffsetCase{"InsideTheHeader", 40, 10}),
    [](const testing::TestParamInfo<OffsetCase>& info) { return info.param.name; });

// bfSize - bfOffBits must be exactly 8000, computed without wrapping around.
struct SizeCase {
  const char* name;
  uint32_t bfSize;
  uint32_t bfOffBits;
  uint32_t bitCount;
  int64_t sizeShown;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class PixelDataSizeCheck : public testing::TestWithParam<SizeCase> {};

TEST_P(PixelDataSizeCheck, RejectsAnythingButEightThousand) {
  const SizeCase& c = GetParam();
  BmpHeaderValues values;
  values.bfSize = c.bfSize;
  values.bfOffBits = c.bfOffBits;
  values.biBitCount = c.bitCount;
  BmpRun run = RunBmpBytes(BuildBmp(values, 8, PixelBytes), BmpStages::All);
  EXPECT_EQ(run.endStatus, 1);
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{"[54 bytes read] done.",
                                      std::to_string(c.sizeShown) + " bytes bitmap data.",
                                      SizeErrorLine(c.sizeShown)}));
  EXPECT_EQ(run.inputState, FileState::Closed);
  EXPECT_EQ(run.totalBytesRead, 54);
  EXPECT_EQ(LoadedPixels(), PixelImage{});
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, PixelDataSizeCheck,
    testing::Values(SizeCase{"TwoTrailingBytes", 8064, 62, 1, 8002},
                    SizeCase{"OneByteMissing", 8061, 62, 1, 7999},
                    SizeCase{"FourBitImage", 32118, 118, 4, 32000},
                    SizeCase{"ZeroFileSize", 0, 62, 1, -62},
                    SizeCase{"NegativeFileSize", 0x80000000u, 62, 1, -2147483710},
                    // Equal to 8000 modulo 2^32, far from it in truth.
                    SizeCase{"WrapsToEightThousandIn32Bits", 0x80000064u, 2147475748u, 1,
                             -4294959296}),
    [](const testing::TestParamInfo<SizeCase>& info) { return info.param.name; });

// Only the 1-bit mode is loaded; everything else ends after the position
// line, with the 4-bit notice before it for 4.
struct ModeCase {
  const char* name;
  uint32_t bitCount;
  BmpStages stages;
  std::vector<std::string> modeLines;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class UnsupportedMode : public testing::TestWithParam<ModeCase> {};

TEST_P(UnsupportedMode, EndsWithoutTouchingPixelData) {
  const ModeCase& c = GetParam();
  BmpHeaderValues values;
  values.biBitCount = c.bitCount;
  BmpRun run = RunBmpBytes(BuildBmp(values, 8, PixelBytes), c.stages);
  std::vector<std::string> expected = {"[54 bytes read] done.", "8000 bytes bitmap data.",
                                       "Starting at position: 62 byte"};
  expected.insert(expected.end(), c.modeLines.begin(), c.modeLines.end());
  EXPECT_EQ(run.endStatus, 1);
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.inputState, FileState::Closed);
  EXPECT_EQ(run.totalBytesRead, 54);
  EXPECT_EQ(LoadedPixels(), PixelImage{});
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, UnsupportedMode,
    testing::Values(
        ModeCase{"FourBit",
                 4,
                 BmpStages::All,
                 {"*** sorry, 4bit multicolor mode not supported until now...",
                  "Aborting: Image is in unsupported mode: bitCount=4"}},
        // Validation lets no other count through; the loader refuses them too.
        ModeCase{"EightBitUnvalidated",
                 8,
                 BmpStages::SkipValidation,
                 {"Aborting: Image is in unsupported mode: bitCount=8"}},
        ModeCase{"ZeroUnvalidated",
                 0,
                 BmpStages::SkipValidation,
                 {"Aborting: Image is in unsupported mode: bitCount=0"}}),
    [](const testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

// A negative pixel offset with a matching file size passes the size check;
// the rows are read until one is to be positioned before the start of the
// file, and that positioning ends the run with the I/O error 131.
struct NegativeOffsetCase {
  const char* name;
  uint32_t bfOffBits;
  uint32_t bfSize;
  int32_t totalBytesRead;
};

void PrintTo(const NegativeOffsetCase& c, std::ostream* os) { *os << c.name; }

class NegativeOffset : public testing::TestWithParam<NegativeOffsetCase> {};

TEST_P(NegativeOffset, EndsThroughTheFailurePathAtTheFirstNegativeRow) {
  const NegativeOffsetCase& c = GetParam();
  BmpHeaderValues values;
  values.bfOffBits = c.bfOffBits;
  values.bfSize = c.bfSize;
  std::vector<uint8_t> file = BuildBmp(values, 8, PixelBytes);
  file.resize(7960);
  BmpRun run = RunBmpBytes(file, BmpStages::All);
  int64_t offset = static_cast<int32_t>(c.bfOffBits);
  EXPECT_EQ(run.endStatus, 131);
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{"[54 bytes read] done.", "8000 bytes bitmap data.",
                                      "Starting at position: " + std::to_string(offset) + " byte",
                                      "Hires: Image is in black/white mode."}));
  EXPECT_EQ(run.totalBytesRead, c.totalBytesRead);
  EXPECT_EQ(LoadedPixels(), ExpectedPixels(file, offset));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, NegativeOffset,
    testing::Values(
        // File rows 199 down to 1 sit at 7920 down to 0; row 0 would be at -40.
        NegativeOffsetCase{"OneRowBeforeTheStart", static_cast<uint32_t>(-40), 7960,
                           54 + 199 * 40},
        NegativeOffsetCase{"LowestOffset", 0x80000000u, 0x80001F40u, 54}),
    [](const testing::TestParamInfo<NegativeOffsetCase>& info) { return info.param.name; });

}  // namespace
