// The renderer's main program on real files and the in-memory console: its
// lines, statuses and files, and its images converted back by the
// converter's main program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "program_runs.h"
#include "render/png_image.h"
#include "temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// The rows shown before the first empty one.
Lines Shown(const MainRun& run) {
  return Lines(run.rows.begin(), std::find(run.rows.begin(), run.rows.end(), ""));
}

std::string Quoted(const std::string& before, const std::string& name, const char* after) {
  return before + '"' + name + '"' + after;
}

class RenderRun : public testing::Test {
 protected:
  void SetUp() override { WriteFile(screen, RandomScreen(7, 256)); }
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  const std::string image = folder.Path("image.bmp");
  const std::string reading = Quoted("Reading screen file ", screen, "...");
  const std::string writing = Quoted("Writing image file ", image, "...");
};

// The image is created only once the screen has been read and drawn: an
// existing one is replaced whole, even when it is the screen itself.
TEST_F(RenderRun, WritesTheImageAfterReadingTheScreen) {
  WriteFile(image, std::string(50000, 'x'));
  MainRun run = RunRenderer({screen, image});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Shown(run), (Lines{reading, writing, "done."}));
  const std::string rendered = ReadWholeFile(image);
  EXPECT_EQ(rendered.size(), 8062u);
  const std::string both = folder.Path("both");
  WriteFile(both, ReadWholeFile(screen));
  EXPECT_EQ(RunRenderer({both, both}).status, 0);
  EXPECT_EQ(ReadWholeFile(both), rendered);
}

// A PNG is written where the build has libpng; elsewhere the run is turned
// down before the screen is read.
TEST_F(RenderRun, PngImageWhereTheBuildCanWriteIt) {
  const std::string png = folder.Path("image.png");
  MainRun run = RunRenderer({screen, png});
  EXPECT_EQ(run.status, PngOutputAvailable ? 0 : 1);
  EXPECT_EQ(FileExists(png), PngOutputAvailable);
  EXPECT_EQ(Shown(run).size(), PngOutputAvailable ? 3u : 0u);
}

// Bad input ends the run before the image is created, so an existing image
// stays as it was. File failures end with the I/O error number.
TEST_F(RenderRun, BadInputLeavesTheImageAlone) {
  const Lines usage = {
      "Usage: cellglyph-render <screen.bin> <image.bmp>",
      "Draws a 1000-byte screen file as a 320x200 black/white BMP image.",
      "       cellglyph-render <screen.bin> <image.png> [--scale 1-8] [--ink 0-15] "
      "[--background 0-15]",
      "Draws it as a PNG image in C64 colours, scaled 2x unless told."};
  const auto rejected = [&](const char* has) {
    return Lines{reading, Quoted("Error: ", screen, has) + ", a screen file has exactly 1000."};
  };
  const auto writingTo = [&](const std::string& name) {
    return Lines{reading, Quoted("Writing image file ", name, "...")};
  };
  const std::string missing = folder.Path("missing.bin");
  std::filesystem::create_directory(folder.Path("folder"));
  const struct {
    size_t screenBytes;
    Lines arguments;
    int32_t status;
    Lines shown;
  } cases[] = {
      {1000, {}, 1, usage},
      {1000, {screen, image, "extra"}, 1, usage},
      {0, {screen, image}, 1, rejected(" has 0 bytes")},
      {1, {screen, image}, 1, rejected(" has 1 byte")},
      {999, {screen, image}, 1, rejected(" has 999 bytes")},
      {1001, {screen, image}, 1, rejected(" has more than 1000 bytes")},
      {1000, {missing, image}, 2, {Quoted("Reading screen file ", missing, "...")}},
      {1000, {screen, folder.Path("nowhere/image.bmp")}, 3,
       writingTo(folder.Path("nowhere/image.bmp"))},
      {1000, {screen, folder.Path("folder")}, 5, writingTo(folder.Path("folder"))},
      // Option values are checked before anything is read; the message goes
      // to standard error.
      {1000, {screen, image, "--scale", "2"}, 1, {}},
      {1000, {screen, folder.Path("image.png"), "--scale", "9"}, 1, {}},
      {1000, {screen, folder.Path("image.png"), "--ink", "16"}, 1, {}},
      {1000, {screen, folder.Path("image.png"), "--colour", "1"}, 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.screenBytes << " bytes, status " << c.status);
    WriteFile(screen, std::string(c.screenBytes, 'A'));
    WriteFile(image, "an image from an earlier run");
    MainRun run = RunRenderer(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(Shown(run), c.shown);
    EXPECT_EQ(ReadWholeFile(image), "an image from an earlier run");
  }
  EXPECT_FALSE(FileExists(folder.Path("nowhere")));
  EXPECT_FALSE(FileExists(folder.Path("image.png")));
}

// Converted back, a rendered screen returns with every cell a perfect match;
// glyphs that share their pattern with a lower one come back as that one.
TEST_F(RenderRun, RoundTripThroughTheConverter) {
  std::string everyCode(1000, '\0');
  for (size_t cell = 0; cell < 1000; ++cell) everyCode[cell] = static_cast<char>(cell % 256);
  const struct {
    const char* name;
    std::string codes;
    bool dirart;
  } cases[] = {
      {"random", RandomScreen(1, 256), false},
      {"random dirart", RandomScreen(2, 128), true},
      {"every code", everyCode, false},
  };
  const std::string back = folder.Path("back.bin");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(screen, c.codes);
    ASSERT_EQ(RunRenderer({screen, image}).status, 0);
    MainRun conversion = RunConverter({image, back, c.dirart ? "dirart" : "normal", "64"});
    EXPECT_EQ(conversion.status, 0);
    EXPECT_EQ(ReadWholeFile(back), WithLowerTwins(c.codes));
    EXPECT_NE(std::find(conversion.rows.begin(), conversion.rows.end(),
                        "1000 perfect matches. -*- 100% same bits (64000 of 64000)"),
              conversion.rows.end());
  }
}

}  // namespace
