// What assemblers, a 6502 simulator and a JSON reader make of the export
// program's files: the assembler source assembled by ACME, 64tass and ca65
// gives the screen codes, and the colours after them; the .prg is exactly
// its routine's source assembled with the colours and the codes behind it;
// run in sim65 from a state a user may leave behind, it shows the screen in
// its colours; the Petmate document holds the screen and its colours. A row
// whose tools are missing is skipped.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "temp_folder.h"

namespace {

// One row: export screen.bin, run a command that makes bytes.bin from what
// was exported, compare bytes.bin with a file.
struct Proof {
  const char* name;
  const char* tools;     // the row is skipped unless all are installed
  const char* exported;  // the output file and the options
  int ink;               // -1: every cell its own, from colours.bin
  char background, border;
  const char* command;
  const char* expected;
};

// colours.bin: a colour file with no two neighbours alike, border 3 on
// background 9.
std::string ColourFile() {
  std::string bytes;
  for (int cell = 0; cell < 1000; ++cell) bytes += static_cast<char>((cell * 5 + cell / 40) % 16);
  return bytes + "\x03\x09";
}

// colour.bin: the colour memory the row asks for.
std::string ColourMemory(const Proof& p) {
  return p.ink < 0 ? ColourFile().substr(0, 1000) : std::string(1000, static_cast<char>(p.ink));
}

// Rows whose export asks for the lower-case set.
bool Lower(const Proof& p) {
  return std::string(p.exported).find("--charset lower") != std::string::npos;
}

// machine.bin: what the harness writes while the program waits for a key,
// the screen, the colour memory, then $D011 text mode with the screen on,
// no sprites, 40 columns without multicolour, the row's set at $0400 ($D018),
// the colours, video bank 0, the case switch locked; after the key the
// start-up colours, the case switch free and the screen cleared through
// CHROUT.
std::string MachineState(const std::string& screen, const Proof& p) {
  return screen + ColourMemory(p) +
         std::string{'\x1b', 0, 8, Lower(p) ? '\x17' : '\x15', p.border, p.background, 3, '\x80',
                     14, 6, 0, '\x93'};
}

// 2061 is the address on the program's SYS line; the routine's source
// refuses to assemble when its start is anywhere else.
const char RunInSim65[] =
    "acme -Dsys_address=2061 -f plain -o run.bin run.asm && sim65 -x 5000000 run.bin >bytes.bin";
const char ReadPetmate[] = "python3 " CELLGLYPH_PETMATE_READER " s.petmate upper >bytes.bin";
const char ReadLowerPetmate[] = "python3 " CELLGLYPH_PETMATE_READER " s.petmate lower >bytes.bin";
const Proof Proofs[] = {
    {"AcmeSource", "acme", "s.asm --dialect acme", 0, 0, 0,
     "acme -f plain --setpc 4096 -o bytes.bin s.asm", "screen.bin"},
    {"TassSource", "64tass", "s.asm --dialect 64tass", 0, 0, 0,
     "64tass --quiet -b -o bytes.bin s.asm", "screen.bin"},
    {"Ca65ReadsTheDefault", "cl65", "s.s", 0, 0, 0, "cl65 -t none -o bytes.bin s.s", "screen.bin"},
    // Screen, colours, border and background one after the other.
    {"AcmeColours", "acme", "s.asm --dialect acme --colours colours.bin", -1, 9, 3,
     "acme -f plain --setpc 4096 -o bytes.bin s.asm", "both.bin"},
    {"TassColours", "64tass", "s.asm --colours colours.bin", -1, 9, 3,
     "64tass --quiet -b -o bytes.bin s.asm", "both.bin"},
    {"Ca65Colours", "cl65", "s.s --colours colours.bin", -1, 9, 3,
     "cl65 -t none -o bytes.bin s.s", "both.bin"},
    // Without options the C64's start-up colours: light blue on blue.
    {"ProgramIsTheRoutineSource", "acme", "s.prg", 14, 6, 14,
     "acme -f cbm -o bytes.bin whole.asm", "s.prg"},
    {"ProgramShowsTheScreen", "acme sim65", "s.prg --ink 7 --background 0 --border 12", 7, 0, 12,
     RunInSim65, "machine.bin"},
    {"ColourProgramIsTheRoutineSource", "acme", "s.prg --colours colours.bin", -1, 9, 3,
     "acme -f cbm -o bytes.bin whole.asm", "s.prg"},
    {"ColourProgramShowsTheScreen", "acme sim65", "s.prg --colours colours.bin --border 12", -1, 9,
     12, RunInSim65, "machine.bin"},
    {"PetmateColours", "python3", "s.petmate --colours colours.bin --background 0", -1, 0, 3,
     ReadPetmate, "both.bin"},
    {"PetmateOneInk", "python3", "s.petmate --ink 7 --border 12", 7, 6, 12, ReadPetmate,
     "both.bin"},
    // The lower-case set: one byte of the routine differs, which the harness
    // sees in $D018; the PNG preview draws the same set (render tests).
    {"LowerProgramIsTheRoutineSource", "acme", "s.prg --charset lower", 14, 6, 14,
     "acme -f cbm -o bytes.bin whole.asm", "s.prg"},
    {"LowerProgramShowsTheScreen", "acme sim65", "s.prg --charset lower --ink 1 --background 0",
     1, 0, 14, RunInSim65, "machine.bin"},
    {"LowerColourProgramShowsTheScreen", "acme sim65",
     "s.prg --colours colours.bin --charset lower", -1, 9, 3, RunInSim65, "machine.bin"},
    {"PetmateLower", "python3", "s.petmate --charset lower --ink 7", 7, 6, 14, ReadLowerPetmate,
     "both.bin"},
};

// Runs a shell command in the folder, its standard error kept in "errors".
int Shell(const TempFolder& folder, const std::string& command) {
  const int status = std::system(("cd " + folder.root + " && (" + command + ") 2>errors").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void PrintTo(const Proof& proof, std::ostream* out) { *out << proof.name; }

class ExportProof : public testing::TestWithParam<Proof> {};

TEST_P(ExportProof, GivesTheExactBytes) {
  const Proof& p = GetParam();
  TempFolder folder;
  const std::string tools = p.tools;
  if (Shell(folder, "for t in " + tools + "; do command -v $t >/dev/null || exit 1; done") != 0)
    GTEST_SKIP() << p.tools << ": not all installed";
  std::string screen;  // every code once in the first 256 cells, no two rows alike
  for (int cell = 0; cell < 1000; ++cell) screen += static_cast<char>(cell * 7);
  WriteFile(folder.Path("screen.bin"), screen);
  WriteFile(folder.Path("colours.bin"), ColourFile());
  WriteFile(folder.Path("machine.bin"), MachineState(screen, p));
  WriteFile(folder.Path("both.bin"), screen + ColourMemory(p) + p.border + p.background);
  // The routine's source in the form for one ink or for the cells' own,
  // with the colours and the codes behind it, as the .prg must be; and the
  // .prg at $0801 without its load address, then the harness that starts it.
  const std::string own = "cell_colours = 1\n!source \"" CELLGLYPH_ROUTINE_SOURCE "\"\n!byte " +
                          std::to_string(p.background) + ", " + std::to_string(p.border) +
                          "\n!binary \"screen.bin\"\n!binary \"colours.bin\", 1000\n";
  const std::string one = "!source \"" CELLGLYPH_ROUTINE_SOURCE "\"\n!byte " +
                          std::to_string(p.ink) + ", " + std::to_string(p.background) + ", " +
                          std::to_string(p.border) + "\n!binary \"screen.bin\"\n";
  WriteFile(folder.Path("whole.asm"),
            (Lower(p) ? "lower_case = 1\n" : "") + (p.ink < 0 ? own : one));
  WriteFile(folder.Path("run.asm"),
            "* = $0801\n!binary \"s.prg\",,2\n!source \"" CELLGLYPH_HARNESS_SOURCE "\"\n");
  ASSERT_EQ(Shell(folder, CELLGLYPH_EXPORT_PROGRAM " screen.bin " + std::string(p.exported)), 0);
  ASSERT_EQ(Shell(folder, p.command), 0) << ReadWholeFile(folder.Path("errors"));
  EXPECT_EQ(ReadWholeFile(folder.Path("bytes.bin")), ReadWholeFile(folder.Path(p.expected)));
}

INSTANTIATE_TEST_SUITE_P(Tools, ExportProof, testing::ValuesIn(Proofs),
                         [](const testing::TestParamInfo<Proof>& info) { return info.param.name; });

}  // namespace
