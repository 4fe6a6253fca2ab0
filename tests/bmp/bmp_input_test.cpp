// The bitmap input as the conversion runs it (open, read the header, validate
// it, load the pixels) on files built byte by byte and on files saved by
// image tools: where it stops, what it read, and where the pixels land.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <ostream>

#include "bmp/bmp_header.h"
#include "bmp/pixel_loader.h"
#include "bmp_test_files.h"
#include "memory_console.h"
#include "run_ended.h"
#include "runtime/io_check.h"
#include "temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint8_t PixelData[PixelDataSize];
constexpr int32_t Loaded = -1;  // the input ended without ending the run
constexpr bool Open = true, Closed = false;

// How the input ended: the run's exit status or Loaded, the bytes read, and
// whether the input is still open.
struct Ending {
  int32_t status;
  int32_t bytesRead;
  bool open;
  bool operator==(const Ending&) const = default;
};
void PrintTo(const Ending& e, std::ostream* out) {
  *out << "status " << e.status << ", " << e.bytesRead << " read, " << (e.open ? "open" : "closed");
}

// How the input ended, then what the console shows.
std::pair<Ending, std::string> RunBmpInput(const std::string& path) {
  std::memset(PixelData, 0, sizeof PixelData), StartMemoryConsole(200, 30);
  Ending ending{Loaded, 0, false};
  BinaryFile input;
  try {
    BindFileName(input, path), OpenExistingFile(input), CheckIo();
    ReadBmpHeader(input, ending.bytesRead), ValidateHeader();
    LoadPixelData(input, ending.bytesRead, PixelData);
  } catch (const RunEnded& end) {
    ending.status = end.status;
  }
  ending.open = input.state == FileState::Input;
  if (ending.open) CloseFile(input);
  pendingIoError = 0;
  return {ending, MemoryConsoleWindowText()};
}

Bytes Cut(size_t length, Bytes file = WellFormedBmp()) { return file.resize(length), file; }
Bytes Patched(size_t offset, const Bytes& bytes, Bytes file = WellFormedBmp()) {
  return std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<ptrdiff_t>(offset)), file;
}
Bytes Bmp(const BmpHeaderValues& values) { return BuildBmp(values); }

// Files too long to build in a table row.
const Bytes AllWrong = Bmp({.biWidth = 321, .biHeight = 201, .biBitCount = 24, .biCompression = 1});
const Bytes SizesAndBitsWrong = Bmp({.biWidth = 319, .biHeight = 201, .biBitCount = 24});
const Bytes PixelsAtZero = Cut(8000, Bmp({.bfSize = 8000, .bfOffBits = 0}));
const Bytes PixelsBeforeStart = Cut(7960, Bmp({.bfSize = 7960, .bfOffBits = uint32_t(-40)}));
const Bytes V5Header = BuildBmp({.bfSize = 8146, .bfReserved1 = 0xFFFF, .bfOffBits = 146,
                                 .biSize = 124, .biPlanes = 0xFFFF}, 92, 8000);

TEST(BmpInput, Outcomes) {
  TempFolder folder;
  const struct {
    Bytes file;
    Ending ending;
    const char* shown;                       // a piece of what the console shows
    std::optional<int64_t> pixelsFrom = {};  // empty: no pixels loaded
  } cases[] = {
      // The signature is exactly "BM"; on anything else the input is closed.
      {{'B'}, {1, 0, Closed}, "BMP header"},
      {Patched(0, {'B', 'm'}), {1, 0, Closed}, "BMP header"},
      {Patched(0, {'b', 'M'}), {1, 0, Closed}, "BMP header"},
      // A file ending inside the header: missing bytes read as 0.
      {Cut(2), {1, 2, Open}, "[2 bytes read] done.\nImage dimensions incorrect error: Image is 0 "},
      {Cut(19), {1, 19, Open}, "Image is 64 pixels, should be 320"},
      {Cut(20), {1, 20, Open}, "Image is 0 pixels, should be 200"},
      {Cut(23), {1, 23, Open}, "uses 0 bits"},
      {Cut(29), {Loaded, 29, Open}, "\n0 bytes PixelData read.", 62},
      // Four-byte fields are signed, two-byte fields are not.
      {Patched(18, {0x40, 0x01, 0x00, 0x80}), {1, 54, Open}, "Image is -2147483328 pixels"},
      {Patched(28, {0xFF, 0xFF}), {1, 54, Open}, "uses 65535 bits"},
      {Bmp({.biBitCount = 8}), {1, 54, Open}, "uses 8 bits"},
      // Validation reports only the first failing check.
      {AllWrong, {1, 54, Open}, "Compression"},
      {Bmp({.biCompression = 3}), {1, 54, Open}, "Compression"},
      {SizesAndBitsWrong, {1, 54, Open}, "Image is 319 pixels, should be 320"},
      {Bmp({.biHeight = 199, .biBitCount = 24}), {1, 54, Open}, "Image is 199"},
      // bfSize - bfOffBits must be 8000, computed without wrapping around.
      {Bmp({.bfSize = 0}), {1, 54, Closed}, "\nError: -62 bytes"},
      {Bmp({.bfSize = 0x80000000}), {1, 54, Closed}, "\nError: -2147483710 bytes"},
      // Only 1-bit images are loaded.
      {Bmp({.biBitCount = 4}), {1, 54, Closed}, "4bit multicolor mode not supported"},
      // Rows come from bfOffBits on, bottom row first; a short file leaves
      // the rest zero and the run goes on. Fields never examined may hold
      // anything.
      {WellFormedBmp(), {Loaded, 8054, Open}, "\n8000 bytes PixelData read.", 62},
      {Cut(62 + 7980), {Loaded, 8034, Open}, "\n7980 bytes PixelData", 62},
      {PixelsAtZero, {Loaded, 8054, Open}, "\n8000 bytes PixelData", 0},
      {V5Header, {Loaded, 8054, Open}, "\n8000 bytes PixelData", 146},
      // Rows 199 to 1 lie at 7920 down to 0; positioning row 0 at -40 fails.
      {PixelsBeforeStart, {131, 8014, Open}, "Starting at position: -40 byte", -40},
  };
  for (const auto& c : cases) {
    const auto [ending, shown] = RunBmpInput(WriteTestFile(folder.Path("in.bmp"), c.file));
    EXPECT_EQ(ending, c.ending) << c.shown;
    EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
    // File row k is image row 199 - k; bytes the file lacks stay 0.
    Bytes expected(PixelDataSize, 0);
    for (int64_t k = 0, at = c.pixelsFrom.value_or(0); c.pixelsFrom && k < PixelDataSize; ++k, ++at)
      if (at >= 0 && at < static_cast<int64_t>(c.file.size()))
        expected[(199 - k / 40) * 40 + k % 40] = c.file[at];
    EXPECT_EQ(Bytes(PixelData, PixelData + PixelDataSize), expected) << c.shown;
  }
}

// Files saved by image tools from one picture (fixtures/make_fixtures.sh).
// The bits are taken as stored: which of them is black depends on the
// file's colour table.
bool Black(int x, int y) { return (x + 2 * y) % 11 < 3 || (y < 8 && x < 64); }

TEST(BmpInput, ToolFiles) {
  const struct {
    const char* name;
    bool setBitIsBlack;
  } files[] = {
      {"imagemagick_v4.bmp", false},
      {"imagemagick_bmp3_white_first.bmp", true},
      {"pillow.bmp", false},
      {"netpbm.bmp", false},
  };
  for (const auto& [name, setBitIsBlack] : files) {
    const std::string path = std::string(CELLGLYPH_BMP_FIXTURES) + "/" + name;
    EXPECT_EQ(RunBmpInput(path).first, (Ending{Loaded, 8054, Open}));
    int wrong = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 320; ++x)
        wrong += (PixelData[y * 40 + x / 8] >> (7 - x % 8) & 1) != (Black(x, y) == setBitIsBlack);
    EXPECT_EQ(wrong, 0) << name;
  }
}

}  // namespace
