// Any bytes as a decoded picture: its size, orientation and pixels, fed to
// the resampling sink as a decoder would, then through the tone settings,
// the coverage and the methods. Everything here is the program's own code;
// no decoder runs. Beyond sanitizer findings it checks what each stage
// promises:
//   - FinishResampling is true exactly when every row arrived, whatever
//     stray rows came in between;
//   - every value of the screen picture, after the tone settings too, and
//     every coverage is finite and within 0 to 1; a picture of one colour
//     gives that colour, laid over the background, or the background;
//   - the threshold sets every pixel that covers more than one it leaves
//     clear; error diffusion sets as many pixels as the coverage adds up to,
//     less what runs off the edges;
//   - the glyph method's codes are normal ones where asked, its inks come
//     from the rule, and the converter matches every cell of the picture it
//     draws exactly, back to the same code.
//
// Input: a header of HeaderSize bytes (missing bytes count as 0), then the
// pixels, R G B A, repeated as often as the picture needs.
//   0     bits 0-1 fit (3 counts as cover), bit 2 dark parts drawn,
//         bit 3 run the glyph method (tens of milliseconds), bit 4 a colour
//         rule, bit 5 normal glyphs only, bit 6 rows cut short,
//         bit 7 stray rows
//   1     orientation, any value
//   2-3   width - 1, 4-5 height - 1 (little-endian, modulo MaxPictureSide;
//         the height cut to keep within MostFuzzPixels)
//   6, 7  brightness, contrast (0 to 255 onto -100 to 100)
//   8     bits 0-3 the colour rule's background, bit 4 the background
//         chosen from the picture instead
//   9-10  the colour rule's inks, bit n colour n
//   11    with rows cut short: how many arrive (modulo the height)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_require.h"
#include "match/cell_matcher.h"
#include "picture/resampling.h"
#include "picture/srgb_linear.h"
#include "prepare/bit_picture.h"
#include "prepare/coverage.h"
#include "prepare/glyph_method.h"
#include "prepare/viewing_blur.h"
#include "prepare/ink_palette.h"
#include "prepare/one_ink_colours.h"
#include "prepare/simple_methods.h"

namespace {

constexpr size_t HeaderSize = 12;

// The program takes pictures of up to 2^28 pixels; a fuzzing run keeps to
// fewer, so that one input costs at most a few tenths of a second. Sides
// still reach MaxPictureSide (a picture one pixel high and 65535 wide).
constexpr int64_t MostFuzzPixels = int64_t{1} << 20;

// Rounding in the sums of weights; a value may lie this far outside 0 to 1.
constexpr float Slack = 1e-4f;
// A picture of one colour, after weights summed over up to thousands of
// picture pixels in float.
constexpr float SameColourSlack = 1e-3f;

struct Header {
  uint8_t flags;
  uint8_t orientation;
  int32_t width;
  int32_t height;
  ToneSettings tone;
  uint8_t background;
  bool chooseBackground;
  uint16_t inks;
  uint8_t rowsIfCut;
};

int16_t ToneOf(uint8_t byte) { return static_cast<int16_t>(byte * 201 / 256 - 100); }

Header ReadHeader(const uint8_t* data, size_t size) {
  uint8_t bytes[HeaderSize] = {};
  std::memcpy(bytes, data, size < HeaderSize ? size : HeaderSize);
  Header header{};
  header.flags = bytes[0];
  header.orientation = bytes[1];
  // Sides from 1 to MaxPictureSide, as a decoder hands them on.
  header.width = 1 + (bytes[2] | bytes[3] << 8) % MaxPictureSide;
  header.height = 1 + (bytes[4] | bytes[5] << 8) % MaxPictureSide;
  if (int64_t{header.width} * header.height > MostFuzzPixels)
    header.height = static_cast<int32_t>(MostFuzzPixels / header.width);
  header.tone = {ToneOf(bytes[6]), ToneOf(bytes[7])};
  header.background = bytes[8] & 15;
  header.chooseBackground = (bytes[8] & 16) != 0;
  header.inks = static_cast<uint16_t>(bytes[9] | bytes[10] << 8);
  header.rowsIfCut = bytes[11];
  return header;
}

FitMode FitOf(uint8_t flags) {
  switch (flags & 3) {
    case 1:
      return FitMode::Contain;
    case 2:
      return FitMode::Stretch;
    default:
      return FitMode::Cover;
  }
}

// The pixels: the bytes after the header over and over, or black where
// there are none.
struct PixelSource {
  const uint8_t* bytes;
  size_t size;
  size_t next;
};

uint8_t rowBytes[4 * (MaxPictureSide + 1)];

void FillRow(PixelSource& source, int32_t width) {
  for (int32_t i = 0; i < 4 * width; ++i) {
    rowBytes[i] = source.size == 0 ? 0 : source.bytes[source.next];
    if (source.size != 0 && ++source.next == source.size) source.next = 0;
  }
}

// Whether every pixel the source gives is the same.
bool OneColour(const PixelSource& source) {
  if (source.size == 0) return true;
  const size_t period = source.size % 4 == 0 ? 4 : 1;
  for (size_t i = period; i < source.size; ++i)
    if (source.bytes[i] != source.bytes[i % period]) return false;
  return true;
}

ScreenPicture picture;
CoveragePlane coverage;
BitPicture bits;

void CheckPlanes(const char* what) {
  for (const auto& plane : picture.planes)
    for (float value : plane)
      Require(std::isfinite(value) && value >= -Slack && value <= 1 + Slack, what);
}

// Every screen pixel is the one colour laid over the background, or the
// background (the bars of contain).
void CheckOneColour(const uint8_t pixel[4], const float background[ChannelCount]) {
  const float alpha = pixel[3] / 255.0f;
  float colour[ChannelCount];
  for (int channel = 0; channel < ChannelCount; ++channel)
    colour[channel] =
        alpha * LinearOfByte[pixel[channel]] + (1 - alpha) * background[channel];
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    bool isColour = true, isBackground = true;
    for (int channel = 0; channel < ChannelCount; ++channel) {
      const float value = picture.planes[channel][at];
      isColour = isColour && std::fabs(value - colour[channel]) <= SameColourSlack;
      isBackground = isBackground && std::fabs(value - background[channel]) <= SameColourSlack;
    }
    Require(isColour || isBackground, "one colour resampled to another");
  }
}

// Returns whether the resampling finished.
bool Resample(const Header& header, PixelSource& source, const float paper) {
  const ResamplingSettings settings = {FitOf(header.flags), {paper, paper, paper}};
  const PictureSink sink = StartResampling(settings, picture);
  sink.start(sink.context, header.width, header.height, header.orientation);
  const bool cut = (header.flags & 0x40) != 0;
  const bool stray = (header.flags & 0x80) != 0;
  const int32_t rows = cut ? header.rowsIfCut % header.height : header.height;
  for (int32_t y = 0; y < rows; ++y) {
    FillRow(source, header.width);
    if (stray && y % 3 == 1) {
      // Rows out of order and past the end: a sink takes none of them.
      sink.row(sink.context, y + 1, rowBytes);
      sink.row(sink.context, header.height, rowBytes);
      sink.row(sink.context, y - 1, rowBytes);
    }
    sink.row(sink.context, y, rowBytes);
  }
  const bool finished = FinishResampling();
  Require(finished == (rows == header.height), "finished other than after every row");
  return finished;
}

void CheckThreshold(bool darkPartsDrawn) {
  ThresholdPicture(coverage, darkPartsDrawn, bits);
  float mostClear = -1, leastSet = 2;
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    const int x = at % PixelColumns, y = at / PixelColumns;
    const bool set = (bits.rows[y * PixelRowBytes + x / 8] & (0x80 >> (x % 8))) != 0;
    const float value = coverage.values[at];
    if (set && value < leastSet) leastSet = value;
    if (!set && value > mostClear) mostClear = value;
  }
  Require(mostClear < leastSet, "threshold set a pixel covering less than one left clear");
}

int CountSet() {
  int count = 0;
  for (uint8_t byte : bits.rows) count += __builtin_popcount(byte);
  return count;
}

// What error diffusion owes stays within half a pixel, so what it loses is
// at most what runs off the two sides of every row and off the bottom.
constexpr double MostDiffusionLoss = PixelColumns + 2 * PixelRows;

void CheckDiffusion() {
  DiffusePicture(coverage, bits);
  double wanted = 0;
  for (float value : coverage.values) wanted += value;
  Require(std::fabs(CountSet() - wanted) <= MostDiffusionLoss,
          "diffusion set far more or fewer pixels than the coverage asks");
}

uint8_t codes[CellCount];
uint8_t inks[CellCount];
uint8_t matchedCodes[CellCount];
int16_t sameBits[CellRows][CellColumns];

void CheckGlyphs(const Header& header) {
  const bool darkPartsDrawn = (header.flags & 4) != 0;
  const bool normalGlyphsOnly = (header.flags & 0x20) != 0;
  // One ink is drawn in the pair chosen from the picture: two palette
  // colours, the ink the lighter unless the dark parts are drawn.
  const OneInkColours pair = ChooseOneInkColours(picture, darkPartsDrawn, 0.01f, 1);
  Require(pair.background < C64ColourCount && pair.ink < C64ColourCount,
          "a pair outside the palette");
  const InkPalette& palette = TheInkPalette();
  const float inkLight = Luminance(palette.colours[pair.ink][Red], palette.colours[pair.ink][Green],
                                   palette.colours[pair.ink][Blue]);
  const float backgroundLight =
      Luminance(palette.colours[pair.background][Red], palette.colours[pair.background][Green],
                palette.colours[pair.background][Blue]);
  Require(darkPartsDrawn ? inkLight < backgroundLight : inkLight > backgroundLight,
          "one ink on the wrong side of its background");
  InkRule rule = {pair.background, static_cast<uint16_t>(1u << pair.ink), 0, 1.0f, 0};
  UseViewingDistance(ViewingDistance::Far);
  if ((header.flags & 0x10) != 0) {
    UseViewingDistance(ViewingDistance::Near);
    rule.inks = header.inks;
    rule.colourWeight = 0.01f;
    rule.sharpWeight = 0.8f;
    rule.sharpColourWeight = 0.1f;
    rule.background = header.chooseBackground ? ChooseBackground(picture, header.inks)
                                              : header.background;
    Require(rule.background < C64ColourCount, "background outside the palette");
  }
  ChooseGlyphs(picture, rule, {normalGlyphsOnly, false, CharacterSet::Upper}, codes, inks);
  const auto usable = static_cast<uint16_t>(rule.inks & ~(1u << rule.background));
  for (int cell = 0; cell < CellCount; ++cell) {
    Require(!normalGlyphsOnly || codes[cell] < 128, "a reverse glyph among normal ones");
    if (usable != 0)
      Require((usable >> inks[cell] & 1) != 0, "an ink outside the rule, or the background");
    else
      Require(inks[cell] == rule.background, "an ink where the rule leaves none");
  }
  DrawGlyphs(codes, bits);
  MatchCells(bits.rows, normalGlyphsOnly, matchedCodes, sameBits);
  for (int cell = 0; cell < CellCount; ++cell) {
    Require(sameBits[cell / CellColumns][cell % CellColumns] == 64, "a cell not matched exactly");
    Require(matchedCodes[cell] == codes[cell], "a cell matched back to another code");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Header header = ReadHeader(data, size);
  PixelSource source = {data + HeaderSize, size > HeaderSize ? size - HeaderSize : 0, 0};
  const bool darkPartsDrawn = (header.flags & 4) != 0;
  const float paper = darkPartsDrawn ? 1.0f : 0.0f;
  if (!Resample(header, source, paper)) return 0;
  CheckPlanes("a resampled value outside 0 to 1");
  if (OneColour(source)) {
    const uint8_t pixel[4] = {source.size ? source.bytes[0] : uint8_t{0},
                              source.size ? source.bytes[1 % source.size] : uint8_t{0},
                              source.size ? source.bytes[2 % source.size] : uint8_t{0},
                              source.size ? source.bytes[3 % source.size] : uint8_t{0}};
    const float background[ChannelCount] = {paper, paper, paper};
    CheckOneColour(pixel, background);
  }
  AdjustTone(picture, header.tone);
  CheckPlanes("a toned value outside 0 to 1");
  MeasureCoverage(picture, darkPartsDrawn, coverage);
  for (float value : coverage.values)
    Require(std::isfinite(value) && value >= 0 && value <= 1, "a coverage outside 0 to 1");
  CheckThreshold(darkPartsDrawn);
  CheckDiffusion();
  if ((header.flags & 8) != 0) CheckGlyphs(header);
  return 0;
}
