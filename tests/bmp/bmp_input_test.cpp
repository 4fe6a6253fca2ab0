// The bitmap input run as the conversion runs it (open, read the header,
// validate it, load the pixels) on BMP files built byte by byte and on files
// saved by image tools.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <sstream>

#include "bmp/bmp_header.h"
#include "bmp/pixel_layout.h"
#include "bmp/pixel_loader.h"
#include "bmp_test_files.h"
#include "files/binary_file.h"
#include "memory_console.h"
#include "run_ended.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

struct BmpRun {
  std::optional<int32_t> status;  // empty when loading returned
  int32_t totalBytesRead = 0;
  Lines lines;
  FileState inputState;  // when the run stopped
};

uint8_t PixelData[PixelDataSize];

BmpRun RunBmpInput(const std::string& path, bool validate = true) {
  std::memset(PixelData, 0, sizeof PixelData);  // as at program start
  StartMemoryConsole(200, 30);                  // the longest message fits one row
  BmpRun run;
  BinaryFile inputFile;
  BindFileName(inputFile, path);
  try {
    OpenExistingFile(inputFile);
    CheckIo();
    ReadBmpHeader(inputFile, run.totalBytesRead);
    if (validate) ValidateHeader();
    LoadPixelData(inputFile, run.totalBytesRead, PixelData);
  } catch (const RunEnded& ended) {
    run.status = ended.status;
  }
  std::istringstream text(MemoryConsoleWindowText());
  for (std::string line; std::getline(text, line);) run.lines.push_back(line);
  run.inputState = inputFile.state;
  if (inputFile.state == FileState::Input) {
    pendingIoError = 0;
    CloseFile(inputFile);
  }
  return run;
}

// PixelData after rows were loaded from `offset` on: file row k is image row
// 199 - k; bytes the file lacks, or that lie before its start, stay 0.
Bytes ExpectedPixels(const Bytes& file, std::optional<int64_t> offset) {
  Bytes image(PixelDataSize, 0);
  for (int64_t k = 0; offset && k < PixelRows; ++k) {
    const int64_t rowStart = *offset + k * PixelRowBytes;
    for (int64_t i = 0; i < PixelRowBytes && rowStart >= 0; ++i)
      if (rowStart + i < static_cast<int64_t>(file.size()))
        image[static_cast<size_t>((PixelRows - 1 - k) * PixelRowBytes + i)] =
            file[static_cast<size_t>(rowStart + i)];
  }
  return image;
}

Bytes Bmp(const BmpHeaderValues& values) { return BuildBmp(values, 8, PixelBytes); }

Bytes Cut(size_t length, Bytes file = WellFormedBmp()) {
  file.resize(length);
  return file;
}

Bytes Patched(size_t offset, const Bytes& bytes) {
  Bytes file = WellFormedBmp();
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<ptrdiff_t>(offset));
  return file;
}

// Built in steps: GCC 12 at -O3 warns wrongly about "[" + std::string.
std::string Count(int n) {
  return std::string("[").append(std::to_string(n)) + " bytes read] done.";
}
std::string Width(int64_t w) {
  return "Image dimensions incorrect error: Image is " + std::to_string(w) +
         " pixels, should be 320 pixels wide.";
}
std::string Height(int64_t h) {
  return "Image dimensions incorrect error: Image is " + std::to_string(h) +
         " pixels, should be 200 pixels high.";
}
std::string Colours(int64_t bits) {
  return "Image colours incorrect error: Image uses " + std::to_string(bits) +
         " bits/pixel, should use only 1 bit/pixel (hires, black/white) or 4 bit/pixel "
         "(multicolor, indexed 16colors).";
}
const std::string Signature = "ERROR: Cannot find BMP header. Aborting...";
const std::string Compression = "Compression enabled - This is currently not supported!";
const std::string Hires = "Hires: Image is in black/white mode.";

Lines SizeRejected(int64_t d) {
  return {Count(54), std::to_string(d) + " bytes bitmap data.",
          "Error: " + std::to_string(d) +
              " bytes are not correct! A black/white or 4bit 8x8 image should have exactly 8000 "
              "bits!"};
}

Lines Started(int headerCount, int64_t offset, Lines more) {
  Lines lines = {Count(headerCount), "8000 bytes bitmap data.",
                 "Starting at position: " + std::to_string(offset) + " byte"};
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

Lines Loaded(int64_t offset, int count, int headerCount = 54) {
  return Started(headerCount, offset, {Hires, std::to_string(count) + " bytes PixelData read."});
}

struct InputCase {
  const char* name;
  Bytes file;
  std::optional<int32_t> status;
  int32_t totalBytesRead;
  FileState inputState;
  Lines lines;
  std::optional<int64_t> pixelsFrom = std::nullopt;  // empty: PixelData untouched
  bool validate = true;
};

constexpr auto Closed = FileState::Closed;
constexpr auto Open = FileState::Input;  // the caller or the end of the run closes it

TEST(BmpInput, EveryOutcome) {
  const InputCase cases[] = {
      // The signature: exactly "BM"; the input is closed.
      {"empty", {}, 1, 0, Closed, {Signature}},
      {"one byte", {'B'}, 1, 0, Closed, {Signature}},
      {"lower case", Patched(0, {'b', 'm'}), 1, 0, Closed, {Signature}},
      {"swapped", Patched(0, {'M', 'B'}), 1, 0, Closed, {Signature}},
      {"only B right", Patched(0, {'B', 'm'}), 1, 0, Closed, {Signature}},
      {"only M right", Patched(0, {'b', 'M'}), 1, 0, Closed, {Signature}},
      // Ending inside the header: the count shows what was read, the missing
      // bytes read as 0 and are judged like any others.
      {"signature only", Cut(2), 1, 2, Open, {Count(2), Width(0)}},
      {"BM and 8 bytes", Cut(10), 1, 10, Open, {Count(10), Width(0)}},
      {"one byte of width", Cut(19), 1, 19, Open, {Count(19), Width(0x40)}},
      {"two bytes of width", Cut(20), 1, 20, Open, {Count(20), Height(0)}},
      {"one byte of height", Cut(23), 1, 23, Open, {Count(23), Colours(0)}},
      {"one byte of bit count", Cut(29), std::nullopt, 29, Open, Loaded(62, 0, 29), 62},
      // Four-byte fields are signed, two-byte fields are not.
      {"top-down", Patched(22, {0x38, 0xFF, 0xFF, 0xFF}), 1, 54, Open, {Count(54), Height(-200)}},
      {"width FF FF FF FF", Patched(18, {0xFF, 0xFF, 0xFF, 0xFF}), 1, 54, Open,
       {Count(54), Width(-1)}},
      {"320 in the low bytes only", Patched(18, {0x40, 0x01, 0x00, 0x80}), 1, 54, Open,
       {Count(54), Width(-2147483328)}},
      {"bit count FF FF", Patched(28, {0xFF, 0xFF}), 1, 54, Open, {Count(54), Colours(65535)}},
      // Validation reports only the first failing check.
      {"compression first", Bmp({.biWidth = 321, .biHeight = 201, .biBitCount = 24,
                                 .biCompression = 0x80000000}),
       1, 54, Open, {Count(54), Compression}},
      {"width before height", Bmp({.biWidth = 321, .biHeight = 201, .biBitCount = 24}), 1, 54,
       Open, {Count(54), Width(321)}},
      {"height before bit count", Bmp({.biHeight = 201, .biBitCount = 24}), 1, 54, Open,
       {Count(54), Height(201)}},
      {"bit count 24", Bmp({.biBitCount = 24}), 1, 54, Open, {Count(54), Colours(24)}},
      // bfSize - bfOffBits must be 8000, computed without wrapping around.
      {"8002", Bmp({.bfSize = 8064}), 1, 54, Closed, SizeRejected(8002)},
      {"4-bit image", Bmp({.bfSize = 32118, .bfOffBits = 118, .biBitCount = 4}), 1, 54, Closed,
       SizeRejected(32000)},
      {"bfSize 0", Bmp({.bfSize = 0}), 1, 54, Closed, SizeRejected(-62)},
      {"bfSize -2^31", Bmp({.bfSize = 0x80000000}), 1, 54, Closed, SizeRejected(-2147483710)},
      // Only 1-bit images are loaded.
      {"4 bits, size 8000", Bmp({.biBitCount = 4}), 1, 54, Closed,
       Started(54, 62,
               {"*** sorry, 4bit multicolor mode not supported until now...",
                "Aborting: Image is in unsupported mode: bitCount=4"})},
      {"8 bits unvalidated", Bmp({.biBitCount = 8}), 1, 54, Closed,
       Started(54, 62, {"Aborting: Image is in unsupported mode: bitCount=8"}), std::nullopt,
       false},
      // Rows come from bfOffBits on, bottom row first; a short file leaves
      // the rest zero and the run goes on.
      {"well-formed", WellFormedBmp(), std::nullopt, 8054, Open, Loaded(62, 8000), 62},
      {"4000 pixel bytes", Cut(62 + 4000), std::nullopt, 4054, Open, Loaded(62, 4000), 62},
      {"7980 pixel bytes", Cut(62 + 7980), std::nullopt, 8034, Open, Loaded(62, 7980), 62},
      {"header read as pixels", Cut(8000, Bmp({.bfSize = 8000, .bfOffBits = 0})), std::nullopt,
       8054, Open, Loaded(0, 8000), 0},
      // Fields that are never examined may hold anything.
      {"124-byte info header", BuildBmp({.bfSize = 8146, .bfReserved1 = 0xFFFF, .bfOffBits = 146,
                                         .biSize = 124, .biPlanes = 0xFFFF}, 92, PixelBytes),
       std::nullopt, 8054, Open, Loaded(146, 8000), 146},
      // Rows 199 to 1 lie at 7920 down to 0; positioning row 0 at -40 fails.
      {"bfOffBits -40", Cut(7960, Bmp({.bfSize = 7960, .bfOffBits = static_cast<uint32_t>(-40)})),
       131, 54 + 199 * 40, Open, Started(54, -40, {Hires}), -40},
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = WriteTestFile(c.file);
    BmpRun run = RunBmpInput(path, c.validate);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.lines, c.lines);
    EXPECT_EQ(run.totalBytesRead, c.totalBytesRead);
    EXPECT_EQ(run.inputState, c.inputState);
    EXPECT_EQ(Bytes(PixelData, PixelData + PixelDataSize), ExpectedPixels(c.file, c.pixelsFrom));
  }
}

// Files saved by image tools from one picture (fixtures/make_fixtures.sh).
// The bits are taken as stored, so which of them is black depends on the
// file's colour table.
TEST(BmpInput, ToolFilesLoadThePictureAsStored) {
  const struct {
    const char* fileName;
    int64_t pixelOffset;
    int blackBit;
  } cases[] = {{"imagemagick_v4.bmp", 130, 0},
               {"imagemagick_bmp3_white_first.bmp", 62, 1},
               {"pillow.bmp", 62, 0},
               {"netpbm.bmp", 62, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fileName);
    BmpRun run = RunBmpInput(std::string(CELLGLYPH_BMP_FIXTURES) + "/" + c.fileName);
    EXPECT_EQ(run.status, std::nullopt);
    EXPECT_EQ(run.lines, Loaded(c.pixelOffset, 8000));
    int wrongPixels = 0;
    for (int y = 0; y < PixelRows; ++y)
      for (int x = 0; x < PixelRowBytes * 8; ++x) {
        const bool black = (x + 2 * y) % 11 < 3 || (y < 8 && x < 64);
        const int bit = PixelData[y * PixelRowBytes + x / 8] >> (7 - x % 8) & 1;
        if (bit != (black ? c.blackBit : 1 - c.blackBit) && ++wrongPixels <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << bit;
      }
    EXPECT_EQ(wrongPixels, 0);
  }
}

}  // namespace
