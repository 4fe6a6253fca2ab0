// The export program in this process, on real files and the in-memory
// console: the format each output name or --format gives, and the statuses
// of bad input and failed files, which leave an existing output alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "driver/command_line.h"
#include "export/export_program.h"
#include "memory_console.h"
#include "run_ended.h"
#include "temp_folder.h"

namespace {

int32_t RunExport(const std::vector<std::string>& arguments) {
  static std::vector<std::string> kept;
  static std::string_view views[16];
  kept = arguments;
  for (size_t i = 0; i < kept.size(); ++i) views[i] = kept[i];
  SetArguments("cellglyph-export", views, static_cast<int>(kept.size()));
  StartMemoryConsole(250, 20);
  try {
    RunExportProgram();
  } catch (const RunEnded& ended) {
    return ended.status;
  }
  return -1;
}

TEST(ExportRun, TheNameOrTheFormatOptionChoosesTheFormat) {
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  WriteFile(screen, std::string(1000, '\x22'));
  const std::string program = "\x01\x08", source = "; 1000", stream = "\x9a\x8e\x93";
  const struct {
    std::string name;
    std::vector<std::string> options;
    std::string start;  // what the file begins with
  } cases[] = {
      {"a.prg", {}, program},
      {"a.PRG", {}, program},
      {"a.asm", {}, source},
      {"a.s", {}, source},
      {"a.Seq", {}, stream},
      {"a.bin", {"--format", "prg"}, program},
      {"a.asm", {"--format", "seq"}, stream},
      {"a.seq", {"--ink", "0"}, "\x90\x8e\x93"},  // black
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> arguments = {screen, folder.Path(c.name)};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(RunExport(arguments), 0);
    EXPECT_EQ(ReadWholeFile(folder.Path(c.name)).substr(0, c.start.size()), c.start);
  }
}

TEST(ExportRun, BadInputLeavesTheOutputAlone) {
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin");
  const std::string missing = folder.Path("missing.bin");
  std::filesystem::create_directory(folder.Path("folder"));
  const struct {
    size_t screenBytes;
    std::vector<std::string> options;
    std::string output;
    int32_t status;
  } cases[] = {
      {1000, {"--ink"}, "out.prg", 1},  // a name without its value: the usage
      {999, {}, "out.prg", 1},
      {1001, {}, "out.seq", 1},
      {1000, {}, "out.txt", 1},
      {1000, {"--format", "bin"}, "out.txt", 1},
      {1000, {"--ink", "16"}, "out.prg", 1},
      {1000, {"--border", "-1"}, "out.prg", 1},
      {1000, {"--dialect", "ca65"}, "out.asm", 1},
      {1000, {"--border", "1"}, "out.seq", 1},
      {1000, {"--colour", "1"}, "out.prg", 1},
      {1000, {"--format", "asm", "--background", "2"}, "out.prg", 1},
      {1000, {}, "nowhere/out.prg", 3},
      {1000, {"--format", "prg"}, "folder", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output + ", status " + std::to_string(c.status));
    WriteFile(screen, std::string(c.screenBytes, '\x41'));
    const std::string output = folder.Path(c.output);
    if (c.status == 1) WriteFile(output, "from an earlier run");
    std::vector<std::string> arguments = {screen, output};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(RunExport(arguments), c.status);
    if (c.status == 1) {
      EXPECT_EQ(ReadWholeFile(output), "from an earlier run");
    }
  }
  EXPECT_FALSE(FileExists(folder.Path("nowhere")));
  WriteFile(folder.Path("out.prg"), "from an earlier run");
  EXPECT_EQ(RunExport({missing, folder.Path("out.prg")}), 2);
  EXPECT_EQ(ReadWholeFile(folder.Path("out.prg")), "from an earlier run");
}

}  // namespace
