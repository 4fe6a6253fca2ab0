// The bitmap input as the conversion runs it (open, read the header, validate
// it, load the pixels) on files built byte by byte and on files saved by
// image tools: where it stops, what it read, and where the pixels land.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "bmp/bmp_header.h"
#include "bmp/pixel_loader.h"
#include "bmp_test_files.h"
#include "memory_console.h"
#include "run_ended.h"
#include "runtime/io_check.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint8_t PixelData[PixelDataSize];

// How the input ended ("loaded", or the exit status), the bytes read, and
// whether the input is still open; then what the console shows.
std::pair<std::string, std::string> RunBmpInput(const std::string& path) {
  std::memset(PixelData, 0, sizeof PixelData), StartMemoryConsole(200, 30);
  std::string ended = "loaded";
  int32_t totalBytesRead = 0;
  BinaryFile input;
  try {
    BindFileName(input, path), OpenExistingFile(input), CheckIo(), ReadBmpHeader(input, totalBytesRead);
    ValidateHeader(), LoadPixelData(input, totalBytesRead, PixelData);
  } catch (const RunEnded& end) {
    ended = std::to_string(end.status);
  }
  ended += ", " + std::to_string(totalBytesRead) + (input.state == FileState::Input ? " read, open" : " read, closed");
  if (input.state == FileState::Input) CloseFile(input);
  pendingIoError = 0;
  return {ended, MemoryConsoleWindowText()};
}

Bytes Cut(size_t length, Bytes file = WellFormedBmp()) { return file.resize(length), file; }
Bytes Patched(size_t offset, const Bytes& bytes, Bytes file = WellFormedBmp()) {
  return std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<ptrdiff_t>(offset)), file;
}

TEST(BmpInput, Outcomes) {
  const struct {
    Bytes file;
    const char* outcome;
    const char* shown;                       // a piece of what the console shows
    std::optional<int64_t> pixelsFrom = {};  // empty: no pixels loaded
  } cases[] = {
      // The signature is exactly "BM"; on anything else the input is closed.
      {{'B'}, "1, 0 read, closed", "BMP header"}, {Patched(0, {'B', 'm'}), "1, 0 read, closed", "BMP header"},
      {Patched(0, {'b', 'M'}), "1, 0 read, closed", "BMP header"},
      // A file ending inside the header: missing bytes read as 0.
      {Cut(2), "1, 2 read, open", "[2 bytes read] done.\nImage dimensions incorrect error: Image is 0 "},
      {Cut(19), "1, 19 read, open", "Image is 64 pixels, should be 320"},
      {Cut(20), "1, 20 read, open", "Image is 0 pixels, should be 200"},
      {Cut(23), "1, 23 read, open", "uses 0 bits"},
      {Cut(29), "loaded, 29 read, open", "\n0 bytes PixelData read.", 62},
      // Four-byte fields are signed, two-byte fields are not.
      {Patched(18, {0x40, 0x01, 0x00, 0x80}), "1, 54 read, open", "Image is -2147483328 pixels"},
      {Patched(28, {0xFF, 0xFF}), "1, 54 read, open", "uses 65535 bits"},
      {BuildBmp({.biBitCount = 8}), "1, 54 read, open", "uses 8 bits"},
      // Validation reports only the first failing check.
      {BuildBmp({.biWidth = 321, .biHeight = 201, .biBitCount = 24, .biCompression = 1}), "1, 54 read, open", "Compression"},
      {BuildBmp({.biWidth = 319, .biHeight = 201, .biBitCount = 24}), "1, 54 read, open", "Image is 319 pixels, should be 320"},
      {BuildBmp({.biHeight = 199, .biBitCount = 24}), "1, 54 read, open", "Image is 199"},
      // bfSize - bfOffBits must be 8000, computed without wrapping around.
      {BuildBmp({.bfSize = 0}), "1, 54 read, closed", "\nError: -62 bytes"},
      {BuildBmp({.bfSize = 0x80000000}), "1, 54 read, closed", "\nError: -2147483710 bytes"},
      // Only 1-bit images are loaded.
      {BuildBmp({.biBitCount = 4}), "1, 54 read, closed", "4bit multicolor mode not supported"},
      // Rows come from bfOffBits on, bottom row first; a short file leaves
      // the rest zero and the run goes on. Fields never examined may hold
      // anything.
      {WellFormedBmp(), "loaded, 8054 read, open", "\n8000 bytes PixelData read.", 62},
      {Cut(62 + 7980), "loaded, 8034 read, open", "\n7980 bytes PixelData", 62},
      {Cut(8000, BuildBmp({.bfSize = 8000, .bfOffBits = 0})), "loaded, 8054 read, open", "\n8000 bytes PixelData", 0},
      {BuildBmp({.bfSize = 8146, .bfReserved1 = 0xFFFF, .bfOffBits = 146, .biSize = 124, .biPlanes = 0xFFFF}, 92, 8000),
       "loaded, 8054 read, open", "\n8000 bytes PixelData", 146},
      // Rows 199 to 1 lie at 7920 down to 0; positioning row 0 at -40 fails.
      {Cut(7960, BuildBmp({.bfSize = 7960, .bfOffBits = static_cast<uint32_t>(-40)})), "131, 8014 read, open",
       "Starting at position: -40 byte", -40},
  };
  for (const auto& c : cases) {
    const auto [outcome, shown] = RunBmpInput(WriteTestFile(c.file));
    EXPECT_EQ(outcome, c.outcome) << c.shown;
    EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
    // File row k is image row 199 - k; bytes the file lacks stay 0.
    Bytes expected(PixelDataSize, 0);
    for (int64_t k = 0, at = c.pixelsFrom.value_or(0); c.pixelsFrom && k < PixelDataSize; ++k, ++at)
      if (at >= 0 && at < static_cast<int64_t>(c.file.size())) expected[(199 - k / 40) * 40 + k % 40] = c.file[at];
    EXPECT_EQ(Bytes(PixelData, PixelData + PixelDataSize), expected) << c.shown;
  }
}

// Files saved by image tools from one picture (fixtures/make_fixtures.sh).
// The bits are taken as stored: which of them is black depends on the
// file's colour table.
TEST(BmpInput, ToolFiles) {
  for (const auto& [name, black] : {std::pair{"imagemagick_v4.bmp", 0}, {"imagemagick_bmp3_white_first.bmp", 1},
                                    {"pillow.bmp", 0}, {"netpbm.bmp", 0}}) {
    EXPECT_EQ(RunBmpInput(std::string(CELLGLYPH_BMP_FIXTURES) + "/" + name).first, "loaded, 8054 read, open");
    int wrong = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 320; ++x)
        wrong += (PixelData[y * 40 + x / 8] >> (7 - x % 8) & 1) != (((x + 2 * y) % 11 < 3 || (y < 8 && x < 64)) == black);
    EXPECT_EQ(wrong, 0) << name;
  }
}

}  // namespace
