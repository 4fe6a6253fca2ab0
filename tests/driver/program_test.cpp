// The real program on real files, with its output redirected: what it
// writes, what it leaves alone, and how it ends.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "bmp/pixel_layout.h"
#include "bmp_test_files.h"
#include "child_process.h"
#include "driver/run_state.h"
#include "match/cell_matcher.h"
#include "match/screen_layout.h"
#include "temp_folder.h"

namespace {

const std::string Program = CELLGLYPH_PROGRAM;

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The screen codes the matcher gives for the test picture of a well-formed
// file, whose file rows are stored bottom row first.
std::string ExpectedScreen(bool dirart) {
  for (size_t fileRow = 0; fileRow < 200; ++fileRow)
    for (size_t i = 0; i < 40; ++i)
      PixelData[(199 - fileRow) * 40 + i] = TestPixelByte(fileRow * 40 + i);
  MatchCells(PixelData, dirart, ScreenCodes, SameBitsGrid);
  return std::string(reinterpret_cast<const char*>(ScreenCodes), CellCount);
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input = folder.Path("bob.bmp");
    output = folder.Path("bob.bin");
    WriteFile(input, AsText(WellFormedBmp()));
  }

  ProgramResult Run(const std::string& in, const std::string& out, const std::string& mode = "normal",
                    const std::string& limit = "56") {
    return RunProgram({Program, in, out, mode, limit});
  }

  TempFolder folder;
  std::string input;
  std::string output;
};

TEST_F(ProgramTest, ASuccessfulRunWritesExactlyTheScreenCodes) {
  for (bool dirart : {false, true}) {
    ProgramResult result = Run(input, output, dirart ? "dirart" : "normal");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardOutput, "");  // the console text never reaches a pipe
    EXPECT_EQ(result.standardError, "");
    std::string screen = ReadWholeFile(output);
    ASSERT_EQ(screen.size(), 1000u);
    EXPECT_EQ(screen, ExpectedScreen(dirart)) << "dirart " << dirart;
  }
}

TEST_F(ProgramTest, AnExistingLongerOutputIsReplaced) {
  WriteFile(output, std::string(50000, 'x'));
  EXPECT_EQ(Run(input, output).exitStatus, 0);
  EXPECT_EQ(ReadWholeFile(output), ExpectedScreen(false));
}

TEST_F(ProgramTest, InputAndOutputMayBeTheSameFile) {
  EXPECT_EQ(Run(input, input).exitStatus, 0);
  EXPECT_EQ(ReadWholeFile(input), ExpectedScreen(false));
}

TEST_F(ProgramTest, AnEmptyOutputNameWritesToStandardOutput) {
  ProgramResult result = Run(input, "");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardOutput, ExpectedScreen(false));
}

TEST_F(ProgramTest, AReadOnlyInputConverts) {
  ::chmod(input.c_str(), 0444);
  EXPECT_EQ(Run(input, output).exitStatus, 0);
  EXPECT_EQ(ReadWholeFile(output).size(), 1000u);
}

struct FailureCase {
  const char* name;
  std::string inputName;   // relative to the temporary folder
  std::string outputName;
  int exitStatus;
  bool reportExpected;     // the failure report on standard error
};

TEST_F(ProgramTest, FailuresLeaveTheOutputAlone) {
  WriteFile(folder.Path("bad.bmp"), "BA" + std::string(8060, '\0'));
  WriteFile(folder.Path("narrow.bmp"), AsText(BuildBmp([] {
              BmpHeaderValues v;
              v.biWidth = 319;
              return v;
            }(), 8, 8000)));
  const FailureCase cases[] = {
      {"missing input", "missing.bmp", "bob.bin", 2, true},
      {"input in a missing folder", "gone/x.bmp", "bob.bin", 3, true},
      {"folder as input", ".", "bob.bin", 5, true},
      {"signature rejected", "bad.bmp", "bob.bin", 1, false},
      {"width rejected", "narrow.bmp", "bob.bin", 1, false},
  };
  for (const FailureCase& c : cases) {
    WriteFile(output, "keep me");
    ProgramResult result = Run(folder.Path(c.inputName), folder.Path(c.outputName));
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name;
    EXPECT_EQ(ReadWholeFile(output), "keep me") << c.name;
    EXPECT_EQ(result.standardError.rfind("Runtime error " + std::to_string(c.exitStatus) + " at $", 0) == 0,
              c.reportExpected)
        << c.name << ": " << result.standardError;
  }
}

TEST_F(ProgramTest, AMissingOutputFolderCreatesNothing) {
  ProgramResult result = Run(input, folder.Path("no/such/folder/out.bin"));
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_FALSE(FileExists(folder.Path("no")));
  EXPECT_EQ(result.standardError.rfind("Runtime error 3 at $", 0), 0u);
}

TEST_F(ProgramTest, NamesTooLongToKeepAreRefusedNotCut) {
  std::string longOutput = folder.Path(std::string(200, 'o')) + "/" + std::string(100, 'p');
  ProgramResult result = Run(input, longOutput);
  EXPECT_EQ(result.exitStatus, 3);

  std::string longInput = folder.root + "/" + std::string(300 - folder.root.size() - 1, 'i');
  result = Run(longInput, output);
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_FALSE(FileExists(output));
}

TEST_F(ProgramTest, TheWrongArgumentCountEndsWithOne) {
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{Program}, {Program, input, output, "normal"},
        {Program, input, output, "normal", "56", "extra"}}) {
    ProgramResult result = RunProgram(command);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.standardOutput, "");
    EXPECT_EQ(result.standardError, "");
  }
  EXPECT_FALSE(FileExists(output));
}

}  // namespace
