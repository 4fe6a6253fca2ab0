// The export program in this process, on every platform: the format each
// output name or --format gives, and a rejected run leaving the output as it
// was.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "export/export_program.h"
#include "memory_console.h"
#include "run_ended.h"
#include "runtime/command_line.h"
#include "temp_folder.h"

namespace {

int32_t RunExport(const std::vector<std::string>& arguments) {
  static std::vector<std::string> kept;
  static std::string_view views[8];
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
  WriteFile(screen, std::string(999, '\x22'));
  EXPECT_EQ(RunExport({screen, folder.Path("a.prg"), "--border", "0"}), 1);
  EXPECT_EQ(ReadWholeFile(folder.Path("a.prg")).substr(0, 2), program);
  EXPECT_EQ(RunExport({folder.Path("missing.bin"), folder.Path("a.prg")}), 2);
  EXPECT_EQ(ReadWholeFile(folder.Path("a.prg")).size(), 1156u);
}

}  // namespace
