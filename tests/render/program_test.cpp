// The real programs: the renderer's exit statuses and what reaches standard
// output and standard error, and a round trip through both programs shown
// on a terminal.
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

TEST(RenderProgram, ExitStatusesAndStandardStreams) {
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  const std::string image = folder.Path("image.bmp");
  WriteFile(screen, RandomScreen(11, 256));
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string errorStart;  // the failure report; empty: nothing on standard error
  } cases[] = {
      {{}, 1, ""},
      {{screen, image, "x"}, 1, ""},
      {{folder.Path("missing.bin"), image}, 2, "Runtime error 2 at $"},
      {{screen, folder.Path("no/image.bmp")}, 3, "Runtime error 3 at $"},
      {{screen, folder.Path("image.png"), "--scale", "0"}, 1,
       "Error: --scale takes a scale from 1 to 8, not \"0\".\n"},
      {{screen, image, "--ink", "3"}, 1,
       "Error: --ink applies to PNG images only: name the image .png.\n"},
      {{screen, image}, 0, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> command = {Renderer};
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    ProgramResult result = RunProgram(command);
    SCOPED_TRACE(result.standardError);
    EXPECT_EQ(result.exitStatus, c.status);
    EXPECT_EQ(result.standardOutput, "");  // console text never reaches a pipe
    EXPECT_EQ(result.standardError.substr(0, c.errorStart.size()), c.errorStart);
    EXPECT_EQ(result.standardError.empty(), c.errorStart.empty());
  }
  // An empty image name writes the image to standard output.
  EXPECT_EQ(RunProgram({Renderer, screen, ""}).standardOutput, ReadWholeFile(image));
}

TEST(RenderProgram, RoundTripThroughBothProgramsOnATerminal) {
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  const std::string image = folder.Path("image.bmp");
  const std::string back = folder.Path("back.bin");
  const std::string codes = RandomScreen(4242, 128);
  WriteFile(screen, codes);
  TerminalOptions options;
  options.columns = 200;
  options.rows = 60;
  TerminalScreen shown = RunInTerminal({Renderer, screen, image}, options);
  EXPECT_EQ(shown.exitStatus, 0);
  EXPECT_EQ(ScreenText(shown), "Reading screen file \"" + screen + "\"...\nWriting image file \"" +
                                   image + "\"...\ndone.");
  shown = RunInTerminal({Converter, image, back, "dirart", "64"}, options);
  EXPECT_EQ(shown.exitStatus, 0);
  EXPECT_NE(ScreenText(shown).find("\n1000 perfect matches. -*- 100% same bits (64000 of 64000)\n"),
            std::string::npos)
      << ScreenText(shown);
  EXPECT_EQ(ReadWholeFile(back), WithLowerTwins(codes));
}

}  // namespace
