// The real programs: the renderer's exit statuses and what reaches standard
// output and standard error, and a round trip through both programs with
// the converter's report read off a terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "program_runs.h"
#include "temp_folder.h"
#include "terminal_session.h"

namespace {

const std::string Renderer = CELLGLYPH_RENDER_PROGRAM;
const std::string Converter = CELLGLYPH_PROGRAM;

class RenderProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = folder.Path("screen.bin");
    image = folder.Path("image.bmp");
    WriteFile(screen, RandomScreen(11, 256));
  }
  TempFolder folder;
  std::string screen;
  std::string image;
};

TEST_F(RenderProgramTest, ExitStatusesAndTheFailureReport) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    int status;
    std::string reportStart;  // how standard error begins; empty: nothing on it
  };
  const Case cases[] = {
      {"no arguments", {}, 1, ""},
      {"three arguments", {screen, image, "x"}, 1, ""},
      {"missing screen", {folder.Path("missing.bin"), image}, 2, "Runtime error 2 at $"},
      {"image in a missing folder", {screen, folder.Path("no/image.bmp")}, 3, "Runtime error 3 at $"},
      {"success", {screen, image}, 0, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> command = {Renderer};
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    ProgramResult result = RunProgram(command);
    EXPECT_EQ(result.exitStatus, c.status) << c.what;
    EXPECT_EQ(result.standardOutput, "") << c.what;  // console text never reaches a pipe
    if (c.reportStart.empty()) {
      EXPECT_EQ(result.standardError, "") << c.what;
    } else {
      EXPECT_EQ(result.standardError.rfind(c.reportStart, 0), 0u) << result.standardError;
    }
  }
}

TEST_F(RenderProgramTest, AWrongSizeEndsWithStatus1AndNoReport) {
  WriteFile(screen, std::string(1001, '\x20'));
  ProgramResult result = RunProgram({Renderer, screen, image});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.standardError, "");
  EXPECT_FALSE(FileExists(image));
}

TEST_F(RenderProgramTest, AnEmptyImageNameWritesTheImageToStandardOutput) {
  ASSERT_EQ(RunProgram({Renderer, screen, image}).exitStatus, 0);
  ProgramResult result = RunProgram({Renderer, screen, ""});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardOutput, ReadWholeFile(image));
}

TEST_F(RenderProgramTest, TheRenderersLinesOnATerminal) {
  TerminalOptions options;
  options.columns = 200;
  TerminalScreen shown = RunInTerminal({Renderer, screen, image}, options);
  EXPECT_EQ(shown.exitStatus, 0);
  EXPECT_EQ(ScreenText(shown), "Reading screen file \"" + screen + "\"...\nWriting image file \"" +
                                   image + "\"...\ndone.");
  shown = RunInTerminal({Renderer}, options);
  EXPECT_EQ(shown.exitStatus, 1);
  EXPECT_EQ(ScreenText(shown), "Usage: " + Renderer +
                                   " <screen.bin> <image.bmp>\nDraws a 1000-byte screen file as a "
                                   "320x200 black/white BMP image.");
}

TEST_F(RenderProgramTest, RoundTripThroughBothPrograms) {
  for (bool dirart : {false, true}) {
    const std::string codes = RandomScreen(dirart ? 4242 : 2424, dirart ? 128 : 256);
    WriteFile(screen, codes);
    ASSERT_EQ(RunProgram({Renderer, screen, image}).exitStatus, 0);
    const std::string back = folder.Path("back.bin");
    TerminalOptions options;
    options.columns = 120;
    options.rows = 60;
    TerminalScreen shown =
        RunInTerminal({Converter, image, back, dirart ? "dirart" : "normal", "64"}, options);
    EXPECT_EQ(shown.exitStatus, 0) << "dirart " << dirart;
    EXPECT_NE(ScreenText(shown).find(
                  "\n1000 perfect matches. -*- 100% same bits (64000 of 64000)\n"),
              std::string::npos)
        << ScreenText(shown);

    std::string expected = codes;
    for (char& code : expected) code = static_cast<char>(LowestTwin(static_cast<uint8_t>(code)));
    EXPECT_EQ(ReadWholeFile(back), expected) << "dirart " << dirart;
  }
}

}  // namespace
