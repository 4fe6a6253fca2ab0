// The real export program: its messages on standard error, and its files
// taken where they are meant to go. The assembler source is assembled by
// ACME, 64tass and ca65; the program's routine is compared with what ACME
// makes of its source and run in sim65 from a state a user may leave
// behind. A test whose tool is missing is skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_folder.h"

namespace {

const std::string Exporter = CELLGLYPH_EXPORT_PROGRAM;

// The tool's path when it is installed, else empty.
std::string FindTool(const std::string& name) {
  std::string found = RunProgram({"/bin/sh", "-c", "command -v " + name}).standardOutput;
  return found.empty() ? found : found.substr(0, found.size() - 1);
}

#define REQUIRE_TOOL(variable, name)           \
  const std::string variable = FindTool(name); \
  if (variable.empty()) GTEST_SKIP() << name << " is not installed"

std::string RandomScreen(uint32_t seed) {
  std::mt19937 generator(seed);
  std::string screen(1000, '\0');
  for (char& code : screen) code = static_cast<char>(generator() % 256);
  return screen;
}

ProgramResult Export(const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {Exporter};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunProgram(command);
}

// Bad input is explained in one line on standard error, a failed file in
// the failure report, and either leaves an existing output as it was.
TEST(ExportProgram, BadInputLeavesTheOutputAlone) {
  TempFolder folder;
  const std::string screen = folder.Path("screen.bin"), wrongSize = folder.Path("999.bin");
  const std::string out = folder.Path("out");
  WriteFile(screen, RandomScreen(1));
  WriteFile(wrongSize, std::string(999, 'x'));
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string message;  // after "Error: ", or the start of the failure report
  } cases[] = {
      {{wrongSize, out + ".prg"}, 1,
       "\"" + wrongSize + "\" has 999 bytes, a screen file has exactly 1000.\n"},
      {{screen, out + ".txt"}, 1,
       "cannot tell the format from the name \"" + out +
           ".txt\": the formats are .prg, .asm (or .s) and .seq, or --format prg|asm|seq.\n"},
      {{screen, out + ".prg", "--format", "png"}, 1,
       "unknown format \"png\"; the formats are prg, asm and seq.\n"},
      {{screen, out + ".prg", "--background", "x"}, 1,
       "--background takes a colour number from 0 to 15, not \"x\".\n"},
      {{screen, out + ".s", "--border", "16"}, 1,
       "--border takes a colour number from 0 to 15, not \"16\".\n"},
      {{screen, out + ".s", "--ink", "1"}, 1,
       "--ink applies to programs (.prg) and PETSCII streams (.seq) only.\n"},
      {{screen, out + ".s", "--dialect", "kick"}, 1,
       "unknown assembler dialect \"kick\"; the dialects are acme and 64tass.\n"},
      {{screen, out + ".prg", "--colour", "1"}, 1,
       "unknown option \"--colour\"; the options are --format, --dialect, --ink, --background "
       "and --border.\n"},
      {{folder.Path("missing.bin"), out + ".prg"}, 2, "Runtime error 2 at $"},
      {{screen, folder.Path("nowhere/out.prg")}, 3, "Runtime error 3 at $"},
      {{screen, folder.Path("."), "--format", "prg"}, 5, "Runtime error 5 at $"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    for (const char* extension : {".prg", ".txt", ".s", ".seq"}) WriteFile(out + extension, "old");
    ProgramResult result = Export(c.arguments);
    EXPECT_EQ(result.exitStatus, c.status);
    EXPECT_EQ(result.standardOutput, "");
    const std::string expected = (c.status == 1 ? "Error: " : "") + c.message;
    EXPECT_EQ(result.standardError.substr(0, expected.size()), expected);
    for (const char* extension : {".prg", ".txt", ".s", ".seq"})
      EXPECT_EQ(ReadWholeFile(out + extension), "old");
  }
  EXPECT_FALSE(FileExists(folder.Path("nowhere")));
}

// Assembles the exported source and compares the bytes with the screen.
void CheckAssembled(const std::vector<std::string>& options,
                    const std::vector<std::string>& assemble) {
  TempFolder folder;
  const std::string screen = RandomScreen(7);
  WriteFile(folder.Path("screen.bin"), screen);
  std::vector<std::string> arguments = {folder.Path("screen.bin"), folder.Path("screen.asm")};
  arguments.insert(arguments.end(), options.begin(), options.end());
  ASSERT_EQ(Export(arguments).exitStatus, 0);
  std::vector<std::string> command = assemble;
  command.insert(command.end(), {"-o", folder.Path("bytes.bin"), folder.Path("screen.asm")});
  ProgramResult assembled = RunProgram(command);
  ASSERT_EQ(assembled.exitStatus, 0) << assembled.standardError;
  EXPECT_EQ(ReadWholeFile(folder.Path("bytes.bin")), screen);
}

TEST(ExportAssembled, Acme) {
  REQUIRE_TOOL(acme, "acme");
  CheckAssembled({"--dialect", "acme"}, {acme, "-f", "plain", "--setpc", "4096"});
}

TEST(ExportAssembled, SixtyFourTass) {
  REQUIRE_TOOL(tass, "64tass");
  CheckAssembled({"--dialect", "64tass"}, {tass, "--quiet", "-b"});
}

TEST(ExportAssembled, Ca65ReadsTheDefault) {
  REQUIRE_TOOL(cl65, "cl65");
  CheckAssembled({}, {cl65, "-t", "none"});
}

TEST(ExportProgramFile, StartsWithTheAssembledRoutine) {
  REQUIRE_TOOL(acme, "acme");
  TempFolder folder;
  WriteFile(folder.Path("screen.bin"), RandomScreen(3));
  ASSERT_EQ(Export({folder.Path("screen.bin"), folder.Path("screen.prg")}).exitStatus, 0);
  ProgramResult assembled = RunProgram(
      {acme, "-f", "cbm", "-o", folder.Path("routine.prg"), CELLGLYPH_ROUTINE_SOURCE});
  ASSERT_EQ(assembled.exitStatus, 0) << assembled.standardError;
  const std::string routine = ReadWholeFile(folder.Path("routine.prg"));
  ASSERT_GT(routine.size(), 14u);
  EXPECT_EQ(ReadWholeFile(folder.Path("screen.prg")).substr(0, routine.size()), routine);
}

// The number on the BASIC line at the front of a program: load address
// $0801, the link to the end-of-program word after the line, line number 10,
// SYS and the digits. -1 when the front is anything else.
int SysAddress(const std::string& program) {
  const size_t end = program.find('\0', 7);
  if (end == std::string::npos || program.size() < end + 3) return -1;
  const auto byte = [&](size_t i) { return static_cast<size_t>(static_cast<uint8_t>(program[i])); };
  const bool basicLine = byte(0) == 0x01 && byte(1) == 0x08 &&
                         (byte(2) | byte(3) << 8) == 0x0801 + end - 1 && byte(4) == 10 &&
                         byte(5) == 0 && byte(6) == 0x9e && byte(end + 1) == 0 &&
                         byte(end + 2) == 0;
  return basicLine ? std::atoi(program.substr(7, end - 7).c_str()) : -1;
}

TEST(ExportProgramFile, ShowsTheScreenInSim65) {
  REQUIRE_TOOL(acme, "acme");
  REQUIRE_TOOL(sim65, "sim65");
  const struct {
    std::vector<std::string> options;
    char ink, background, border;
  } cases[] = {
      {{}, 14, 6, 14},
      {{"--ink", "7", "--background", "0", "--border", "12"}, 7, 0, 12},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const std::string screen = RandomScreen(static_cast<uint32_t>(c.ink));
    WriteFile(folder.Path("screen.bin"), screen);
    std::vector<std::string> arguments = {folder.Path("screen.bin"), folder.Path("screen.prg")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(Export(arguments).exitStatus, 0);
    const int sys = SysAddress(ReadWholeFile(folder.Path("screen.prg")));
    ASSERT_GT(sys, 0);
    WriteFile(folder.Path("run.asm"), "        * = $0801\n        !binary \"" +
                                          folder.Path("screen.prg") + "\",,2\n        !source \"" +
                                          CELLGLYPH_HARNESS_SOURCE + "\"\n");
    ProgramResult assembled =
        RunProgram({acme, "-Dsys_address=" + std::to_string(sys), "-f", "plain", "-o",
                    folder.Path("run.bin"), folder.Path("run.asm")});
    ASSERT_EQ(assembled.exitStatus, 0) << assembled.standardError;
    ProgramResult run = RunProgram({sim65, "-x", "5000000", folder.Path("run.bin")});
    ASSERT_EQ(run.exitStatus, 0) << run.standardError;
    const std::string& shown = run.standardOutput;
    ASSERT_EQ(shown.size(), 2012u);
    EXPECT_EQ(shown.substr(0, 1000), screen);
    EXPECT_EQ(shown.substr(1000, 1000), std::string(1000, c.ink));
    // $D011 text mode with the screen on, no sprites, 40 columns without
    // multicolour, the upper-case set at $0400, the colours, video bank 0,
    // the case switch locked.
    const std::string registers = {'\x1b', '\x00', '\x08', '\x15', c.border, c.background,
                                   '\x03', '\x80'};
    EXPECT_EQ(shown.substr(2000, 8), registers);
    // After the key: the start-up colours, the case switch free, the screen
    // cleared through CHROUT.
    EXPECT_EQ(shown.substr(2008), std::string("\x0e\x06\x00\x93", 4));
  }
}

}  // namespace
