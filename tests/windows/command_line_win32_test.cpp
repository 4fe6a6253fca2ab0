// The command line as the program receives it on Windows: one text, cut into
// words by the program itself. print_arguments.exe is started with exact
// command lines and reports the words it found.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

// The arguments that print_arguments.exe reports, argument 0 first.
std::vector<std::string> ArgumentsSeen(const std::string& commandLine) {
  std::string program = ProgramBesideThisOne("print_arguments.exe");
  ChildRun run = RunChild(program, commandLine);
  EXPECT_TRUE(run.started) << program;
  EXPECT_EQ(run.exitStatus, 0u);
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < run.output.size()) {
    size_t end = run.output.find('\n', at);
    if (end == std::string::npos) end = run.output.size();
    std::string line = run.output.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  std::vector<std::string> words;
  if (lines.empty()) return words;
  size_t count = std::stoul(lines[0]);
  EXPECT_EQ(lines.size(), count + 2) << run.output;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    EXPECT_TRUE(line.size() >= 2 && line.front() == '[' && line.back() == ']') << line;
    words.push_back(line.substr(1, line.size() - 2));
  }
  return words;
}

struct SplitCase {
  const char* name;
  std::string commandLine;
  std::vector<std::string> arguments;  // from argument 1 on; {XX} marks a byte below 32
};

TEST(CommandLineOnWindows, WordsAsTheProgramCutsThem) {
  const SplitCase cases[] = {
      {"plain words", "prog one two three", {"one", "two", "three"}},
      {"no arguments", "prog", {}},
      {"runs of blanks and tabs", "prog \t one  \t\ttwo \t", {"one", "two"}},
      {"quoted blanks", "prog \"in put.bmp\" out.bin", {"in put.bmp", "out.bin"}},
      {"quotes inside a word", "prog a\"b c\"d", {"ab cd"}},
      {"a pair of quotes is an empty argument", "prog \"\" x \"\"", {"", "x", ""}},
      {"a doubled quote adds nothing", "prog a\"\"b", {"ab"}},
      {"a doubled quote keeps the quoting", "prog \"a\"\"b c\" d", {"ab c", "d"}},
      {"two doubled quotes", "prog \"\"\"\"", {""}},
      {"three quotes", "prog \"\"\" x", {" x"}},
      {"a quote left open runs to the end", "prog \"open to  the end", {"open to  the end"}},
      {"backslashes are ordinary", "prog a\\\"b c\" C:\\dir\\", {"a\\b c", "C:\\dir\\"}},
      {"control bytes separate", "prog a\x1b" "b\x01" "c", {"a", "b", "c"}},
      {"control bytes inside quotes stay", "prog \"a\tb\x1b" "c\"", {"a{09}b{1B}c"}},
      {"the typed program name may hold blanks", "\"C:\\Some Folder\\x.exe\" one", {"one"}},
      {"dirart in quotes with a blank", "prog in out \"dirart \" 56", {"in", "out", "dirart ", "56"}},
      {"five arguments", "prog 1 2 3 4 5", {"1", "2", "3", "4", "5"}},
  };
  std::string program = ProgramBesideThisOne("print_arguments.exe");
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> seen = ArgumentsSeen(c.commandLine);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0], program) << "argument 0 is the program file's full path";
    std::vector<std::string> arguments(seen.begin() + 1, seen.end());
    EXPECT_EQ(arguments, c.arguments);
  }
}

TEST(CommandLineOnWindows, AnsiBytesArriveUnchanged) {
  // Latin small letter e with acute in the ANSI code page of Western systems.
  if (GetACP() != 1252) GTEST_SKIP() << "needs ANSI code page 1252, this system has " << GetACP();
  std::vector<std::string> seen = ArgumentsSeen("prog caf\xe9.bmp");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], "caf\xe9.bmp");
}

TEST(CommandLineOnWindows, ThousandsOfWordsAreAllKept) {
  // 3000 words, 30000 characters: close to the longest command line.
  std::string line = "prog";
  for (int i = 0; i < 3000; ++i) line += " word" + std::to_string(10000 + i).substr(0, 5);
  std::vector<std::string> seen = ArgumentsSeen(line);
  ASSERT_EQ(seen.size(), 3001u);
  EXPECT_EQ(seen[1], "word10000");
  EXPECT_EQ(seen[3000], "word12999");
}

}  // namespace
