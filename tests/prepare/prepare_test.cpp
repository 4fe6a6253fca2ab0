// The preparer after decoding: how a picture is laid on the screen, turned
// upright, and drawn by each method. Pictures are made in memory.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "picture/resampling.h"
#include "prepare_test_workers.h"
#include "prepare/coverage.h"
#include "prepare/glyph_method.h"
#include "prepare/ink_palette.h"
#include "prepare/one_ink_colours.h"
#include "prepare/simple_methods.h"
#include "prepare/text_like_glyphs.h"

namespace {

TEST(Prepare, Fit) {
  struct Row {
    int32_t width, height;
    FitMode mode;
    int32_t acrossStart, acrossLength, downStart, downLength;
    double acrossCut, downCut;  // picture pixels cut off before the first shown
  };
  const Row rows[] = {
      {640, 400, FitMode::Cover, 0, 320, 0, 200, 0, 0},
      {400, 400, FitMode::Cover, 0, 320, 0, 200, 0, 75},
      {1000, 100, FitMode::Cover, 0, 320, 0, 200, 420, 0},
      {400, 400, FitMode::Contain, 60, 200, 0, 200, 0, 0},
      {1000, 10, FitMode::Contain, 0, 320, 98, 3, 0, 0},
      {65535, 1, FitMode::Contain, 0, 320, 99, 1, 0, 0},
      {3, 7, FitMode::Stretch, 0, 320, 0, 200, 0, 0},
  };
  for (const Row& row : rows) {
    const PictureFit fit = FitPicture(row.width, row.height, 320, 200, row.mode);
    SCOPED_TRACE(testing::Message() << row.width << "x" << row.height);
    EXPECT_EQ(fit.across.targetStart, row.acrossStart);
    EXPECT_EQ(fit.across.targetLength, row.acrossLength);
    EXPECT_EQ(fit.down.targetStart, row.downStart);
    EXPECT_EQ(fit.down.targetLength, row.downLength);
    EXPECT_NEAR(fit.across.sourceStart, row.acrossCut, 1e-9);
    EXPECT_NEAR(fit.down.sourceStart, row.downCut, 1e-9);
  }
}

// An upright picture of width x height, every pixel different, and the same
// picture stored as each orientation stores it: what the decoder delivers.
struct Stored {
  int32_t width, height;
  std::vector<uint8_t> rgba;
};

Stored StoreAs(int orientation, int32_t width, int32_t height) {
  const bool swapped = orientation >= 5;
  Stored stored{swapped ? height : width, swapped ? width : height, {}};
  stored.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int32_t y = 0; y < stored.height; ++y)
    for (int32_t x = 0; x < stored.width; ++x) {
      const int32_t xr = stored.width - 1 - x, yr = stored.height - 1 - y;
      // Where stored pixel (x, y) stands upright, by the EXIF meaning.
      const int32_t u[9] = {0, x, xr, xr, x, y, yr, yr, y};
      const int32_t v[9] = {0, y, y, yr, yr, x, x, xr, xr};
      uint8_t* pixel = &stored.rgba[(static_cast<size_t>(y) * stored.width + x) * 4];
      pixel[0] = static_cast<uint8_t>(u[orientation] * 40);
      pixel[1] = static_cast<uint8_t>(v[orientation] * 60);
      pixel[2] = static_cast<uint8_t>((u[orientation] + v[orientation]) * 20);
      pixel[3] = 255;
    }
  return stored;
}

ScreenPicture picture;

bool Resample(const Stored& stored, int orientation, int32_t rowsDelivered, FitMode fit) {
  const PictureSink sink = StartResampling({fit, {0, 0, 0}}, picture);
  sink.start(sink.context, stored.width, stored.height,
             static_cast<PictureOrientation>(orientation));
  for (int32_t y = 0; y < rowsDelivered; ++y)
    sink.row(sink.context, y, &stored.rgba[static_cast<size_t>(y) * stored.width * 4]);
  return FinishResampling();
}

TEST(Prepare, EveryOrientationGivesTheUprightPicture) {
  for (FitMode fit : {FitMode::Cover, FitMode::Contain}) {
    ASSERT_TRUE(Resample(StoreAs(1, 7, 5), 1, 5, fit));
    static ScreenPicture upright;
    upright = picture;
    for (int orientation = 2; orientation <= 8; ++orientation) {
      const Stored stored = StoreAs(orientation, 7, 5);
      ASSERT_TRUE(Resample(stored, orientation, stored.height, fit)) << orientation;
      for (int channel = 0; channel < ChannelCount; ++channel)
        for (int at = 0; at < ScreenPicturePixels; at += 37)
          ASSERT_NEAR(picture.planes[channel][at], upright.planes[channel][at], 1e-5)
              << "orientation " << orientation << " channel " << channel << " pixel " << at;
    }
  }
}

TEST(Prepare, MissingRowsAreNotAPicture) {
  const Stored stored = StoreAs(1, 3, 4);
  EXPECT_FALSE(Resample(stored, 1, 3, FitMode::Cover));
  EXPECT_TRUE(Resample(stored, 1, 4, FitMode::Cover));
}

TEST(Prepare, ContainLeavesBarsOfTheBackground) {
  std::vector<uint8_t> white(4 * 4, 255);
  const PictureSink sink = StartResampling({FitMode::Contain, {0.25f, 0.5f, 0.75f}}, picture);
  sink.start(sink.context, 4, 1, 1);  // 320 x 80 in the middle
  sink.row(sink.context, 0, white.data());
  ASSERT_TRUE(FinishResampling());
  EXPECT_FLOAT_EQ(picture.planes[Blue][0], 0.75f);
  EXPECT_NEAR(picture.planes[Red][100 * PixelColumns + 5], 1.0f, 1e-5);
  EXPECT_FLOAT_EQ(picture.planes[Green][199 * PixelColumns + 319], 0.5f);
}

CoveragePlane coverage;
BitPicture bits, otherBits;

TEST(Prepare, ThresholdSplitsTwoTonesAndInvertsExactly) {
  for (int at = 0; at < ScreenPicturePixels; ++at)
    for (auto& plane : picture.planes) plane[at] = (at % PixelColumns) < 100 ? 0.05f : 0.6f;
  MeasureCoverage(picture, false, coverage);
  ThresholdPicture(coverage, false, bits);
  EXPECT_EQ(bits.rows[0], 0x00);             // pixels 0 to 7: dark
  EXPECT_EQ(bits.rows[12], 0x0F);            // pixels 96 to 99 dark, 100 to 103 light
  EXPECT_EQ(bits.rows[PixelRowBytes - 1], 0xFF);
  MeasureCoverage(picture, true, coverage);
  ThresholdPicture(coverage, true, otherBits);
  for (int at = 0; at < PixelDataSize; ++at) ASSERT_EQ(bits.rows[at] ^ otherBits.rows[at], 0xFF);
}

TEST(Prepare, DiffusionKeepsTheMeanLight) {
  for (auto& plane : picture.planes) std::fill(std::begin(plane), std::end(plane), 0.3f);
  MeasureCoverage(picture, false, coverage);
  DiffusePicture(coverage, bits);
  int set = 0;
  for (uint8_t byte : bits.rows) set += __builtin_popcount(byte);
  EXPECT_NEAR(set / static_cast<double>(ScreenPicturePixels), 0.3, 0.005);
}

// A screen drawn from glyphs, as a picture in the ink on the background.
void DrawScreen(const uint8_t codes[CellCount], const float ink[3], const float paper[3]) {
  DrawGlyphs(codes, bits);
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    const bool set = bits.rows[at / 8] & (0x80 >> (at % 8));
    for (int channel = 0; channel < ChannelCount; ++channel)
      picture.planes[channel][at] = set ? ink[channel] : paper[channel];
  }
}

TEST(Prepare, GlyphMethodGivesBackAScreenDrawnInItsGlyphs) {
  struct Row { bool normalOnly; InkRule rule; float ink[3], paper[3]; };
  const Row rows[] = {
      {false, {0, 1u << 1, 0, 0, 0}, {1, 1, 1}, {0, 0, 0}},
      {true, {1, 1u << 0, 0, 0, 0}, {0, 0, 0}, {1, 1, 1}},
  };
  for (const Row& row : rows) {
    uint8_t codes[CellCount], chosen[CellCount], inks[CellCount];
    for (int cell = 0; cell < CellCount; ++cell)
      codes[cell] =
          static_cast<uint8_t>((cell * 37 + cell / 40 * 11) % (row.normalOnly ? 128 : 256));
    DrawScreen(codes, row.ink, row.paper);
    std::memcpy(otherBits.rows, bits.rows, sizeof bits.rows);
    ChooseGlyphs(picture, row.rule, {row.normalOnly, true, CharacterSet::Upper}, chosen, inks);
    DrawGlyphs(chosen, bits);
    int same = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
      const int top = cell / CellColumns * 8 * PixelRowBytes + cell % CellColumns;
      bool alike = true;
      for (int at = top; at < top + 8 * PixelRowBytes; at += PixelRowBytes)
        alike = alike && bits.rows[at] == otherBits.rows[at];
      same += alike;
      if (row.normalOnly) {
        ASSERT_LT(chosen[cell], 128);
      }
      ASSERT_NE(row.rule.inks >> inks[cell] & 1, 0u);
    }
    EXPECT_GE(same, CellCount * 99 / 100) << "normal glyphs only: " << row.normalOnly;
  }
}

TEST(Prepare, ColourGlyphsTakeTheInkTheyAreDrawnIn) {
  const float red[3] = {0.136f, 0.038f, 0.024f};  // C64 colour 2, linear
  const float blue[3] = {0.035f, 0.021f, 0.191f};  // colour 6
  uint8_t codes[CellCount], chosen[CellCount], inks[CellCount];
  for (int cell = 0; cell < CellCount; ++cell) codes[cell] = cell % 3 == 0 ? 160 : 32;
  DrawScreen(codes, red, blue);
  const InkRule rule = {6, 0xFFFF, 0.01f, 0.8f, 0.1f};
  ChooseGlyphs(picture, rule, {false, false, CharacterSet::Upper}, chosen, inks);
  int red_cells = 0;
  for (int cell = 0; cell < CellCount; ++cell)
    if (cell % 3 == 0) red_cells += inks[cell] == 2 && chosen[cell] == 160;
  EXPECT_GE(red_cells, 330);
}

// Shading in grey noise, where busy glyphs such as letters fit as well as
// any: held back by default, they are chosen freely when weighed alike.
TEST(Prepare, TextLikeGlyphsAreHeldBackFromShading) {
  uint32_t seed = 12345;
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    seed = seed * 1664525u + 1013904223u;
    for (auto& plane : picture.planes) plane[at] = static_cast<float>(seed >> 24) / 255.0f;
  }
  struct Row { InkRule rule; bool alike; int fewest, most; };  // text-like cells
  const Row rows[] = {
      {{0, 1u << 1, 0, 0.5f, 0}, false, 0, CellCount / 50},
      {{6, 0xFFFF, 0.01f, 0.8f, 0.1f}, false, 0, CellCount / 50},
      {{0, 1u << 1, 0, 0, 0}, true, CellCount / 10, CellCount},
  };
  for (const Row& row : rows) {
    uint8_t chosen[CellCount], inks[CellCount];
    ChooseGlyphs(picture, row.rule, {false, row.alike, CharacterSet::Upper}, chosen, inks);
    int textLike = 0;
    for (uint8_t code : chosen) textLike += IsTextLike(code);
    EXPECT_GE(textLike, row.fewest) << "alike: " << row.alike << ", " << textLike;
    EXPECT_LE(textLike, row.most) << "alike: " << row.alike << ", " << textLike;
  }
}

// Rows of cells are chosen by several threads at once, each cell seeing
// what it would see were they chosen one by one: the screen is the same
// whatever the number of threads. Grey noise keeps every sweep busy.
TEST(Prepare, GlyphScreenIsTheSameWithAnyNumberOfThreads) {
  uint32_t seed = 777;
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    seed = seed * 1664525u + 1013904223u;
    for (int plane = 0; plane < 3; ++plane)
      picture.planes[plane][at] = static_cast<float>(seed >> (8 + 8 * plane) & 0xFF) / 255.0f;
  }
  const InkRule rules[] = {{0, 1u << 1, 0, 0.5f, 0}, {6, 0xFFFF, 0.01f, 0.8f, 0.1f}};
  for (const InkRule& rule : rules) {
    uint8_t alone[CellCount], aloneInks[CellCount];
    standInWorkers = 1;
    ChooseGlyphs(picture, rule, {false, false, CharacterSet::Upper}, alone, aloneInks);
    for (const int workers : {2, 3, 8}) {
      uint8_t chosen[CellCount], inks[CellCount];
      standInWorkers = workers;
      ChooseGlyphs(picture, rule, {false, false, CharacterSet::Upper}, chosen, inks);
      EXPECT_EQ(0, std::memcmp(alone, chosen, CellCount)) << workers << " threads";
      EXPECT_EQ(0, std::memcmp(aloneInks, inks, CellCount)) << workers << " threads";
    }
  }
  standInWorkers = 1;
}

}  // namespace

// Columns 4 pixels wide in two palette colours: only the pair of exactly
// those two draws every block in its own tone, so it is chosen, with the
// ink the lighter unless the dark parts are drawn. A flat dark grey picture
// gets that grey on black, not a texture of white. The same for any number
// of workers.
TEST(Prepare, OneInkTakesTheColoursThePictureIsIn) {
  struct Row {
    uint8_t even, odd;  // the columns' colours
    bool darkInk;
    uint8_t background, ink;
  };
  const Row rows[] = {
      {.even = 0, .odd = 1, .darkInk = false, .background = 0, .ink = 1},
      {.even = 0, .odd = 1, .darkInk = true, .background = 1, .ink = 0},
      {.even = 6, .odd = 0, .darkInk = false, .background = 0, .ink = 6},
      {.even = 6, .odd = 0, .darkInk = true, .background = 6, .ink = 0},
      {.even = 12, .odd = 15, .darkInk = false, .background = 12, .ink = 15},
      {.even = 15, .odd = 12, .darkInk = true, .background = 15, .ink = 12},
      {.even = 11, .odd = 11, .darkInk = false, .background = 0, .ink = 11},
  };
  const InkPalette& palette = TheInkPalette();
  for (const Row& row : rows) {
    for (int at = 0; at < ScreenPicturePixels; ++at)
      for (int channel = 0; channel < ChannelCount; ++channel)
        picture.planes[channel][at] = palette.colours[at / 4 % 2 ? row.odd : row.even][channel];
    SCOPED_TRACE(testing::Message() << int{row.even} << " and " << int{row.odd});
    for (int workers : {1, 3}) {
      const OneInkColours chosen = ChooseOneInkColours(picture, row.darkInk, 0.01f, workers);
      EXPECT_EQ(chosen.background, row.background);
      EXPECT_EQ(chosen.ink, row.ink);
    }
  }
}
