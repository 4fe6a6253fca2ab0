// Rendering a screen and converting the image back gives the same screen:
// every code returns, except the glyphs that share their pattern with a
// lower-numbered one, which come back as that lower twin, and every cell
// matches perfectly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match/match_results.h"
#include "program_runs.h"
#include "temp_folder.h"

namespace {

const std::string PerfectLine = "1000 perfect matches. -*- 100% same bits (64000 of 64000)";

std::string ExpectedBack(const std::string& screen) {
  std::string back = screen;
  for (char& code : back) code = static_cast<char>(LowestTwin(static_cast<uint8_t>(code)));
  return back;
}

struct RoundTripCase {
  std::string name;
  std::string screen;
  bool dirart;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

std::vector<RoundTripCase> Cases() {
  std::vector<RoundTripCase> cases;
  for (uint32_t seed : {1u, 2u, 3u, 1234u, 99999u}) {
    cases.push_back({"Random" + std::to_string(seed), RandomScreen(seed, 256), false});
    cases.push_back({"RandomDirart" + std::to_string(seed), RandomScreen(seed, 128), true});
  }
  // Every code in turn, each in 3 or 4 cells.
  std::string everyCode(1000, '\0');
  for (size_t cell = 0; cell < 1000; ++cell) everyCode[cell] = static_cast<char>(cell % 256);
  cases.push_back({"EveryCode", everyCode, false});
  std::string everyNormalCode(1000, '\0');
  for (size_t cell = 0; cell < 1000; ++cell) everyNormalCode[cell] = static_cast<char>(cell % 128);
  cases.push_back({"EveryNormalCodeDirart", everyNormalCode, true});
  // The twins alone: every cell must change.
  for (uint8_t twin : {96, 67, 93, 116, 106, 224, 195, 221, 244, 234})
    cases.push_back({"Twin" + std::to_string(twin), ScreenOf(twin), twin < 128});
  return cases;
}

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, TheConverterGivesTheScreenBack) {
  const RoundTripCase& c = GetParam();
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  const std::string image = folder.Path("image.bmp");
  const std::string back = folder.Path("back.bin");
  WriteFile(screen, c.screen);

  ASSERT_EQ(RunRenderer({screen, image}).status, 0);
  MainRun conversion = RunConverter({image, back, c.dirart ? "dirart" : "normal", "64"});
  ASSERT_EQ(conversion.status, 0);

  const std::string expected = ExpectedBack(c.screen);
  const std::string converted = ReadWholeFile(back);
  ASSERT_EQ(converted.size(), 1000u);
  int wrong = 0;
  for (size_t cell = 0; cell < 1000; ++cell)
    if (converted[cell] != expected[cell] && ++wrong <= 5)
      ADD_FAILURE() << "cell " << cell << ": rendered " << int{static_cast<uint8_t>(c.screen[cell])}
                    << ", came back " << int{static_cast<uint8_t>(converted[cell])};
  EXPECT_EQ(wrong, 0);

  for (int row = 0; row < CellRows; ++row)
    for (int column = 0; column < CellColumns; ++column)
      ASSERT_EQ(SameBitsGrid[row][column], 64) << "cell " << row << ", " << column;
  EXPECT_GE(FindRow(conversion, PerfectLine), 0);
  // With the limit at 64 any imperfect cell would be marked in the map.
  const int heading = FindRow(conversion, "-------big differences (samebits<64)--------");
  ASSERT_GE(heading, 0);
  for (int mapRow = 0; mapRow < CellRows; ++mapRow)
    EXPECT_EQ(conversion.rows[heading + 3 + mapRow].find('*'), std::string::npos) << mapRow;
}

INSTANTIATE_TEST_SUITE_P(Render, RoundTrip, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<RoundTripCase>& info) {
                           return info.param.name;
                         });

}  // namespace
