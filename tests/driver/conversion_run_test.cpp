// A whole run of the main program on the in-memory console: every line in
// its place, and the lines that depend on the names and the limit.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "memory_console.h"
#include "main_program_runner.h"
#include "program_texts.h"
#include "temp_folder.h"

namespace {

struct RunOutcome {
  int32_t status;
  std::vector<std::string> rows;
};

RunOutcome RunMain(const std::vector<std::string>& arguments, int32_t columns = 120,
                   int32_t rows = 60) {
  RunOutcome outcome{RunMainProgramWith("cellglyph", arguments, columns, rows), {}};
  for (int32_t r = 0; r < rows; ++r) outcome.rows.push_back(MemoryConsoleWindowRow(r));
  return outcome;
}

class ConversionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input = folder.Path("bob.bmp");
    WriteFile(input, std::string(reinterpret_cast<const char*>(WellFormedBmp().data()), 8062));
  }
  TempFolder folder;
  std::string input;
};

TEST_F(ConversionRunTest, ACompleteRunShowsEveryLineInOrder) {
  std::string output = folder.Path("bob.bin");
  RunOutcome run = RunMain({input, output, "normal", "56"});
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> before = LinesBeforeReport(input, output);
  before.push_back("---------samebits overview-(0-63)-----------");
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(run.rows[i], before[i]) << i;
  EXPECT_EQ(run.rows[9 + 5], "-------big differences (samebits<56)--------");
  EXPECT_EQ(run.rows[9 + 35], "");  // the report's closing empty line
  EXPECT_EQ(run.rows[9 + 36], "done.");
  EXPECT_EQ(run.rows[9 + 37], "");
  EXPECT_EQ(MemoryConsoleCursorY(), 9 + 37);
  EXPECT_EQ(MemoryConsoleCursorX(), 0);
}

TEST_F(ConversionRunTest, DirartIsAnnouncedBeforeTheReadingLine) {
  RunOutcome run = RunMain({input, folder.Path("out.bin"), "dirart", "56"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.rows[1], "*** dirart selected, not using reverse characters");
  EXPECT_EQ(run.rows[2].rfind("Opening file \"", 0), 0u);
}

TEST_F(ConversionRunTest, ALongInputNameShowsTheReadingLineCut) {
  std::string name = std::string(240 - 4, 'n') + ".bmp";
  std::string path = folder.Path(name);
  ASSERT_EQ(name.size(), 240u);
  WriteFile(path, ReadWholeFile(input));
  // The relative name is 240 characters; the line stops at 255.
  std::string relative = path.substr(path.size() - 240);
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.root);
  RunOutcome run = RunMain({relative, "out.bin", "normal", "56"}, 300, 60);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.rows[1], "Opening file \"" + relative + "\"");
  EXPECT_EQ(run.rows[1].size(), 255u);
  EXPECT_TRUE(FileExists(folder.Path("out.bin")));
  std::filesystem::current_path(previous);
}

TEST_F(ConversionRunTest, TheLimitTextSetsTheMapHeading) {
  const struct {
    const char* limit;
    const char* heading;
  } cases[] = {{"56", "samebits<56"}, {"abc", "samebits<0"}, {"-5", "samebits<-5"},
               {"100", "samebits<64"}, {"$20", "samebits<32"}};
  for (const auto& c : cases) {
    RunOutcome run = RunMain({input, folder.Path("out.bin"), "normal", c.limit});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.rows[14], std::string("-------big differences (") + c.heading + ")--------")
        << c.limit;
  }
}

TEST_F(ConversionRunTest, AMissingInputEndsAfterTheReadingLine) {
  RunOutcome run = RunMain({folder.Path("none.bmp"), folder.Path("out.bin"), "normal", "56"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.rows[1], "Opening file \"" + folder.Path("none.bmp") + "\" for reading...");
  EXPECT_EQ(run.rows[2], "");
  EXPECT_FALSE(FileExists(folder.Path("out.bin")));
}

}  // namespace
