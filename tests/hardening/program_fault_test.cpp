// The real program against real I/O faults: a full device, a file-size
// limit, missing permissions, a path through a file, a closed standard
// error, a standard output whose reader is gone. Each must end with the
// failure's number, never with a signal or 0, and leave no output that
// looks like a finished one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "child_process.h"
#include "temp_folder.h"
#include "terminal_session.h"

namespace {

const std::string Program = CELLGLYPH_PROGRAM;

bool ReportsFailure(const std::string& standardError, int number) {
  return standardError.rfind("Runtime error " + std::to_string(number) + " at $", 0) == 0;
}

class ProgramFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input = folder.Path("bob.bmp");
    std::vector<uint8_t> image = WellFormedBmp();
    WriteFile(input, std::string(image.begin(), image.end()));
  }

  std::vector<std::string> Command(const std::string& in, const std::string& out) const {
    return {Program, in, out, "normal", "56"};
  }

  TempFolder folder;
  std::string input;
};

TEST_F(ProgramFaultTest, AFullDeviceEndsWithDiskFull) {
  ProgramResult ended = RunProgram({Command(input, "/dev/full")});
  EXPECT_EQ(ended.signal, 0);
  EXPECT_EQ(ended.exitStatus, 101);
  EXPECT_TRUE(ReportsFailure(ended.standardError, 101)) << ended.standardError;
  EXPECT_EQ(ended.standardOutput, "");
}

// What the user sees: the run stops at the writing line, the failure report
// follows it, and neither the statistics nor "done." ever appear.
TEST_F(ProgramFaultTest, OnAFullDeviceTheScreenStopsAtTheWritingLine) {
  TerminalOptions options;
  options.columns = 120;
  options.rows = 40;
  TerminalScreen screen = RunInTerminal(Command(input, "/dev/full"), options);
  EXPECT_EQ(screen.exitStatus, 101);
  std::vector<std::string> lines = screen.scrolledOff;
  lines.insert(lines.end(), screen.rows.begin(), screen.rows.end());
  size_t writing = 0;
  while (writing < lines.size() && lines[writing] != "Opening file \"/dev/full\" for writing...")
    ++writing;
  ASSERT_LT(writing, lines.size()) << ScreenText(screen);
  ASSERT_GT(writing, 0u);
  EXPECT_EQ(lines[writing - 1], "8054 bytes totally read.");
  ASSERT_LT(writing + 1, lines.size());
  EXPECT_EQ(lines[writing + 1].rfind("Runtime error 101 at $", 0), 0u) << ScreenText(screen);
  for (size_t i = writing + 2; i < lines.size(); ++i) {
    // The report's code locations, its closing empty line, the empty rows.
    bool location = lines[i].size() == 19 && lines[i].rfind("  $", 0) == 0;
    EXPECT_TRUE(location || lines[i].empty()) << "row " << i << ": " << lines[i];
  }
}

// A file-size limit makes the writing system call fail part way; the
// program must report it like a full disk, not be killed for it.
TEST_F(ProgramFaultTest, AFileSizeLimitEndsWithDiskFullAndLeavesAShortFile) {
  std::string output = folder.Path("bob.bin");
  Launch launch{Command(input, output)};
  launch.fileSizeLimit = 600;
  ProgramResult ended = RunProgram(launch);
  EXPECT_EQ(ended.signal, 0) << "killed by signal " << ended.signal;
  EXPECT_EQ(ended.exitStatus, 101);
  EXPECT_TRUE(ReportsFailure(ended.standardError, 101)) << ended.standardError;
  // What the write got out before the limit stays; it is short of a screen.
  EXPECT_EQ(ReadWholeFile(output).size(), 600u);
}

// Input and output may name one file: it is read whole and closed, then
// emptied for the screen codes. A write that fails after that leaves only
// what it got out; the image is gone and nothing looks like a finished run.
TEST_F(ProgramFaultTest, WhenInputAndOutputAreOneFileAFailedWriteLeavesOnlyItsPart) {
  Launch launch{Command(input, input)};
  launch.fileSizeLimit = 600;
  ProgramResult ended = RunProgram(launch);
  EXPECT_EQ(ended.signal, 0);
  EXPECT_EQ(ended.exitStatus, 101);
  EXPECT_EQ(ReadWholeFile(input).size(), 600u);
}

TEST_F(ProgramFaultTest, AnOutputPathThroughAFileIsAMissingFolder) {
  std::string before = ReadWholeFile(input);
  ProgramResult ended = RunProgram({Command(input, input + "/bob.bin")});
  EXPECT_EQ(ended.exitStatus, 3);
  EXPECT_TRUE(ReportsFailure(ended.standardError, 3)) << ended.standardError;
  EXPECT_EQ(ReadWholeFile(input), before);
}

// Input names that lead to no image file: each ends the run with its own
// status before the output is touched.
TEST_F(ProgramFaultTest, InputNamesThatAreNoImageFile) {
  struct Case {
    const char* name;
    std::string in;
    int exitStatus;
  };
  const Case cases[] = {
      {"empty name: standard output, which is not read", "", 6},
      {"the root folder", "/", 5},
      {"an empty device", "/dev/null", 1},
      {"a device of zeros", "/dev/zero", 1},
  };
  std::string output = folder.Path("out.bin");
  for (const Case& c : cases) {
    WriteFile(output, "keep me");
    ProgramResult ended = RunProgram({Command(c.in, output)});
    EXPECT_EQ(ended.signal, 0) << c.name;
    EXPECT_EQ(ended.exitStatus, c.exitStatus) << c.name;
    EXPECT_EQ(ReadWholeFile(output), "keep me") << c.name;
  }
}

// A named pipe as output: the screen codes reach a reader that is there.
// Without one they would vanish with the program's descriptor, so the run
// must fail rather than end with 0.
TEST_F(ProgramFaultTest, AnOutputPipeWithoutAReaderIsAFailure) {
  std::string fifo = folder.Path("screen.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  ProgramResult ended = RunProgram({Command(input, fifo)});
  EXPECT_EQ(ended.signal, 0);
  EXPECT_EQ(ended.exitStatus, 152);  // device not ready
  EXPECT_TRUE(ReportsFailure(ended.standardError, 152)) << ended.standardError;

  std::string file = folder.Path("screen.bin");
  ASSERT_EQ(RunProgram({Command(input, file)}).exitStatus, 0);
  int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ended = RunProgram({Command(input, fifo)});
  std::string received;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(reader, buffer, sizeof buffer)) > 0) received.append(buffer, static_cast<size_t>(got));
  ::close(reader);
  EXPECT_EQ(ended.exitStatus, 0) << ended.standardError;
  EXPECT_EQ(received, ReadWholeFile(file));
}

// A named pipe as input with nobody writing to it holds no image: it is
// turned away like an empty file instead of waiting for a writer forever.
TEST_F(ProgramFaultTest, AnInputPipeWithoutAWriterIsAnEmptyFileNotAHang) {
  std::string fifo = folder.Path("image.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  Launch launch{Command(fifo, folder.Path("out.bin"))};
  launch.timeoutSeconds = 10;
  ProgramResult ended = RunProgram(launch);
  EXPECT_EQ(ended.signal, 0) << "still waiting after " << launch.timeoutSeconds << " s";
  EXPECT_EQ(ended.exitStatus, 1);
  EXPECT_FALSE(FileExists(folder.Path("out.bin")));
}

// Without its standard error the program cannot tell anyone, but its exit
// status still says what failed.
TEST_F(ProgramFaultTest, AClosedStandardErrorKeepsTheFailureNumber) {
  struct Case {
    const char* name;
    std::string in;
    std::string out;
    int exitStatus;
  };
  const Case cases[] = {
      {"missing input", folder.Path("missing.bmp"), folder.Path("a.bin"), 2},
      {"full device", input, "/dev/full", 101},
      {"path through a file", input, input + "/b.bin", 3},
  };
  for (const Case& c : cases) {
    for (Stream error : {Stream::Closed, Stream::Broken}) {
      Launch launch{Command(c.in, c.out)};
      launch.error = error;
      ProgramResult ended = RunProgram(launch);
      EXPECT_EQ(ended.signal, 0) << c.name;
      EXPECT_EQ(ended.exitStatus, c.exitStatus) << c.name;
    }
  }
  EXPECT_FALSE(FileExists(folder.Path("a.bin")));
}

// An empty output name sends the screen codes to standard output. When its
// reader is gone the write fails with a broken pipe (232): no signal, no 0.
TEST_F(ProgramFaultTest, AStandardOutputWithoutAReaderIsAFailureNotASignal) {
  for (Stream error : {Stream::Captured, Stream::Broken}) {
    Launch launch{Command(input, "")};
    launch.output = Stream::Broken;
    launch.error = error;
    ProgramResult ended = RunProgram(launch);
    EXPECT_EQ(ended.signal, 0) << "killed by signal " << ended.signal;
    EXPECT_EQ(ended.exitStatus, 232);
    if (error == Stream::Captured) {
      EXPECT_TRUE(ReportsFailure(ended.standardError, 232)) << ended.standardError;
    }
  }
}

// Closed standard streams: the program's own files never take their
// descriptors, and only writing the screen to a closed standard output fails.
TEST_F(ProgramFaultTest, ClosedStandardStreams) {
  const std::string rejected = folder.Path("rejected.bmp");
  WriteFile(rejected, "BM");
  const std::string named = folder.Path("out.bin");
  const std::string reference = folder.Path("reference.bin");
  ASSERT_EQ(RunProgram(Command(input, reference)).exitStatus, 0);
  ASSERT_EQ(ReadWholeFile(reference).size(), 1000u);
  const struct Case {
    const char* name;
    bool inputClosed;
    Stream output, error;
    std::string in, out;
    int exitStatus;
  } cases[] = {
      {"screen to a closed output", false, Stream::Closed, Stream::Captured, input, "", 6},
      {"input read with output closed", false, Stream::Closed, Stream::Captured, rejected, "", 1},
      {"output closed", false, Stream::Closed, Stream::Captured, input, named, 0},
      {"input and error closed", true, Stream::Captured, Stream::Closed, input, named, 0},
      {"all three closed", true, Stream::Closed, Stream::Closed, input, named, 0},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(named);
    Launch launch{Command(c.in, c.out)};
    launch.inputClosed = c.inputClosed;
    launch.output = c.output;
    launch.error = c.error;
    ProgramResult ended = RunProgram(launch);
    EXPECT_EQ(ended.signal, 0) << c.name;
    EXPECT_EQ(ended.exitStatus, c.exitStatus) << c.name;
    if (c.exitStatus == 6) {
      EXPECT_TRUE(ReportsFailure(ended.standardError, 6)) << ended.standardError;
    }
    if (c.out == named) {
      EXPECT_EQ(ReadWholeFile(named), ReadWholeFile(reference)) << c.name;
    }
  }
}

// Permissions are only refused to an unprivileged user: as root the
// program runs as nobody, from a copy it may execute.
class PermissionTest : public ProgramFaultTest {
 protected:
  void SetUp() override {
    ProgramFaultTest::SetUp();
    if (::geteuid() != 0) {
      program = Program;
      return;
    }
    if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "setpriv (util-linux) is missing";
    program = folder.Path("cellglyph");
    std::filesystem::copy_file(Program, program);
    ::chmod(program.c_str(), 0755);
    ::chmod(folder.root.c_str(), 0755);
    prefix = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    // Some containers cannot switch to that user at all.
    std::vector<std::string> probe = prefix;
    probe.push_back("/bin/true");
    ProgramResult switched = RunProgram({probe});
    if (switched.exitStatus != 0) GTEST_SKIP() << "cannot run as nobody: " << switched.standardError;
  }

  ProgramResult RunUnprivileged(const std::string& in, const std::string& out) {
    std::vector<std::string> command = prefix;
    command.insert(command.end(), {program, in, out, "normal", "56"});
    return RunProgram({command});
  }

  std::string program;
  std::vector<std::string> prefix;
};

TEST_F(PermissionTest, RefusedAccessEndsWithFiveAndCreatesNothing) {
  std::string open = folder.Path("open");
  std::string locked = folder.Path("locked");
  ::mkdir(open.c_str(), 0777);
  ::chmod(open.c_str(), 0777);
  ::mkdir(locked.c_str(), 0555);
  std::string secret = folder.Path("secret.bmp");
  WriteFile(secret, ReadWholeFile(input));
  ::chmod(secret.c_str(), 0000);
  std::string readOnlyOutput = open + "/kept.bin";
  WriteFile(readOnlyOutput, "keep me");
  ::chmod(readOnlyOutput.c_str(), 0444);

  // The same user may convert into a folder open to it.
  ProgramResult control = RunUnprivileged(input, open + "/fine.bin");
  ASSERT_EQ(control.exitStatus, 0) << control.standardError;
  EXPECT_EQ(ReadWholeFile(open + "/fine.bin").size(), 1000u);

  struct Case {
    const char* name;
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"output folder not writable", input, locked + "/out.bin"},
      {"input not readable", secret, open + "/out.bin"},
      {"output file read-only", input, readOnlyOutput},
  };
  for (const Case& c : cases) {
    ProgramResult ended = RunUnprivileged(c.in, c.out);
    EXPECT_EQ(ended.exitStatus, 5) << c.name << ": " << ended.standardError;
    EXPECT_TRUE(ReportsFailure(ended.standardError, 5)) << c.name;
  }
  EXPECT_FALSE(FileExists(locked + "/out.bin"));
  EXPECT_FALSE(FileExists(open + "/out.bin"));
  ::chmod(readOnlyOutput.c_str(), 0644);
  EXPECT_EQ(ReadWholeFile(readOnlyOutput), "keep me");
}

}  // namespace
