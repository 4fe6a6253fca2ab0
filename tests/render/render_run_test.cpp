// The renderer's main program on real files and the in-memory console: the
// lines it shows, its exit statuses, and which files it touches.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "program_runs.h"
#include "temp_folder.h"

namespace {

const std::string UsageLine = "Usage: cellglyph-render <screen.bin> <image.bmp>";
const std::string DescriptionLine =
    "Draws a 1000-byte screen file as a 320x200 black/white BMP image.";

class RenderRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = folder.Path("screen.bin");
    image = folder.Path("image.bmp");
    WriteFile(screen, RandomScreen(7, 256));
  }

  TempFolder folder;
  std::string screen;
  std::string image;
};

TEST_F(RenderRunTest, ASuccessfulRunShowsItsLinesAndWritesTheImage) {
  MainRun run = RunRenderer({screen, image});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.rows[0], "Reading screen file \"" + screen + "\"...");
  EXPECT_EQ(run.rows[1], "Writing image file \"" + image + "\"...");
  EXPECT_EQ(run.rows[2], "done.");
  EXPECT_EQ(run.rows[3], "");
  std::string written = ReadWholeFile(image);
  ASSERT_EQ(written.size(), 8062u);
  EXPECT_EQ(written.substr(0, 2), "BM");
}

TEST_F(RenderRunTest, AWrongArgumentCountShowsTheUsage) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {screen}, {screen, image, "extra"}}) {
    MainRun run = RunRenderer(arguments);
    EXPECT_EQ(run.status, 1) << arguments.size() << " arguments";
    EXPECT_EQ(run.rows[0], UsageLine);
    EXPECT_EQ(run.rows[1], DescriptionLine);
    EXPECT_EQ(run.rows[2], "");
    EXPECT_FALSE(FileExists(image));
  }
}

struct SizeCase {
  size_t bytes;
  std::string complaint;
};

// A rejected screen leaves an existing image exactly as it was.
TEST_F(RenderRunTest, AScreenThatIsNotExactly1000BytesIsRejected) {
  const SizeCase cases[] = {
      {0, "has 0 bytes"},      {1, "has 1 byte"},
      {999, "has 999 bytes"},  {1001, "has more than 1000 bytes"},
      {8062, "has more than 1000 bytes"},
  };
  const std::string earlier = "an image from an earlier run";
  for (const SizeCase& c : cases) {
    WriteFile(screen, std::string(c.bytes, 'A'));
    WriteFile(image, earlier);
    MainRun run = RunRenderer({screen, image});
    EXPECT_EQ(run.status, 1) << c.bytes;
    EXPECT_EQ(run.rows[1],
              "Error: \"" + screen + "\" " + c.complaint + ", a screen file has exactly 1000.")
        << c.bytes;
    EXPECT_EQ(run.rows[2], "") << c.bytes;  // no writing line
    EXPECT_EQ(ReadWholeFile(image), earlier) << c.bytes;
  }
}

struct FailureCase {
  const char* what;
  std::string screenName;
  std::string imageName;
  int32_t status;
  bool reachesWriting;  // the writing line is shown before the run ends
};

TEST_F(RenderRunTest, FileFailuresEndWithTheConvertersNumbers) {
  std::filesystem::create_directory(folder.Path("folder"));
  const FailureCase cases[] = {
      {"missing screen", folder.Path("missing.bin"), image, 2, false},
      {"screen in a missing folder", folder.Path("nowhere/screen.bin"), image, 3, false},
      {"screen is a folder", folder.Path("folder"), image, 5, false},
      {"screen name over 255 characters", folder.Path(std::string(300, 's')), image, 3, false},
      {"image in a missing folder", screen, folder.Path("nowhere/image.bmp"), 3, true},
      {"image is a folder", screen, folder.Path("folder"), 5, true},
  };
  for (const FailureCase& c : cases) {
    MainRun run = RunRenderer({c.screenName, c.imageName});
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_EQ(run.rows[0].rfind("Reading screen file \"", 0), 0u) << c.what;
    EXPECT_EQ(FindRow(run, "Writing image file \"" + c.imageName + "\"...") >= 0, c.reachesWriting)
        << c.what;
    EXPECT_EQ(FindRow(run, "done."), -1) << c.what;
  }
  EXPECT_FALSE(FileExists(image));
  EXPECT_FALSE(FileExists(folder.Path("nowhere")));
}

TEST_F(RenderRunTest, AMissingScreenLeavesAnExistingImageAlone) {
  WriteFile(image, "keep me");
  EXPECT_EQ(RunRenderer({folder.Path("missing.bin"), image}).status, 2);
  EXPECT_EQ(ReadWholeFile(image), "keep me");
}

TEST_F(RenderRunTest, AnExistingLongerImageIsReplacedWhole) {
  WriteFile(image, std::string(50000, 'x'));
  ASSERT_EQ(RunRenderer({screen, image}).status, 0);
  ASSERT_EQ(RunRenderer({screen, folder.Path("fresh.bmp")}).status, 0);
  std::string written = ReadWholeFile(image);
  EXPECT_EQ(written.size(), 8062u);
  EXPECT_EQ(written, ReadWholeFile(folder.Path("fresh.bmp")));
}

// The screen is read and closed before the image is created.
TEST_F(RenderRunTest, ScreenAndImageMayBeTheSameFile) {
  ASSERT_EQ(RunRenderer({image, image}).status, 2);  // nothing there yet
  WriteFile(image, RandomScreen(7, 256));
  ASSERT_EQ(RunRenderer({image, image}).status, 0);
  ASSERT_EQ(RunRenderer({screen, folder.Path("other.bmp")}).status, 0);
  EXPECT_EQ(ReadWholeFile(image), ReadWholeFile(folder.Path("other.bmp")));
}

}  // namespace
