// Binary files on real temporary files: the error number each failure leaves
// pending, and the operations that must not fail.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "files/binary_file.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "temp_folder.h"

namespace {

class BinaryFileTest : public ::testing::Test {
 protected:
  void SetUp() override { pendingIoError = 0; }
  void TearDown() override { pendingIoError = 0; }

  uint16_t TakeError() {
    uint16_t error = pendingIoError;
    pendingIoError = 0;
    return error;
  }

  TempFolder folder;
};

struct OpenCase {
  const char* name;
  bool openExisting;
  std::string path;  // relative to the temporary folder
  uint16_t expected;
};

TEST_F(BinaryFileTest, FailedOpensLeaveTheirNumber) {
  WriteFile(folder.Path("plain"), "data");
  ::mkdir(folder.Path("sub").c_str(), 0755);
  const OpenCase cases[] = {
      {"missing file", true, "nothing.bmp", 2},
      {"missing folder", true, "nowhere/x.bmp", 3},
      {"missing folder on create", false, "nowhere/x.bin", 3},
      {"a file used as a folder", true, "plain/x", 3},
      {"a file used as a folder on create", false, "plain/x", 3},
      {"folder as input", true, "sub", 5},
      {"folder as output", false, "sub", 5},
  };
  for (const OpenCase& c : cases) {
    BinaryFile file;
    BindFileName(file, folder.Path(c.path));
    if (c.openExisting)
      OpenExistingFile(file);
    else
      CreateEmptyFile(file);
    EXPECT_EQ(TakeError(), c.expected) << c.name;
    EXPECT_EQ(file.state, FileState::Closed) << c.name;
  }
  EXPECT_FALSE(FileExists(folder.Path("nowhere")));
}

TEST_F(BinaryFileTest, ANameLongerThan255IsRefusedNotCut) {
  std::string shortName = folder.Path("n");
  std::string longName = shortName + std::string(256 - shortName.size(), 'x');
  ASSERT_EQ(longName.size(), 256u);
  // The cut name would be a real, different file.
  std::string cut = longName.substr(0, 255);
  WriteFile(cut, "victim");

  BinaryFile file;
  BindFileName(file, longName);
  EXPECT_EQ(std::string(file.name), longName);
  CreateEmptyFile(file);
  EXPECT_EQ(TakeError(), 3);
  EXPECT_EQ(ReadWholeFile(cut), "victim");
  OpenExistingFile(file);
  EXPECT_EQ(TakeError(), 3);
}

// The limit counts characters as shown: a UTF-8 name whose characters all
// exist in code page 1252 counts each as one, any other name its bytes.
TEST_F(BinaryFileTest, TheNameLimitCountsShownCharacters) {
  auto Repeated = [](const char* piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
  };
  const struct {
    std::string name;
    bool tooLong;
  } cases[] = {
      {Repeated("\u00E4", 255), false},      {Repeated("\u00E4", 256), true},
      {Repeated("\u20AC", 255), false},      {Repeated("\u65E5", 85), false},
      {Repeated("\u65E5", 86), true},        {Repeated("\xE4", 255), false},
      {Repeated("\xE4", 256), true},
  };
  for (const auto& c : cases) {
    BinaryFile file;
    BindFileName(file, c.name);
    EXPECT_EQ(file.nameTooLong, c.tooLong) << c.name.size() << " bytes";
    EXPECT_EQ(std::string(file.name), c.name);
  }
}

TEST_F(BinaryFileTest, ANameOf255CharactersOpens) {
  std::string base = folder.Path("n");
  std::string name = base + std::string(255 - base.size(), 'y');
  BinaryFile file;
  BindFileName(file, name);
  CreateEmptyFile(file);
  EXPECT_EQ(TakeError(), 0);
  CloseFile(file);
  EXPECT_TRUE(FileExists(name));
}

TEST_F(BinaryFileTest, CreateEmptiesALongerFileAndWriteFillsIt) {
  std::string path = folder.Path("out.bin");
  WriteFile(path, std::string(5000, 'z'));
  BinaryFile file;
  BindFileName(file, path);
  CreateEmptyFile(file);
  WriteBlock(file, "0123456789", 10);
  CloseFile(file);
  EXPECT_EQ(TakeError(), 0);
  EXPECT_EQ(ReadWholeFile(path), "0123456789");
}

TEST_F(BinaryFileTest, ReadsStopQuietlyAtTheEnd) {
  std::string path = folder.Path("in.bin");
  WriteFile(path, "abcdefghijklmnopqrstuvwxyz");
  BinaryFile file;
  BindFileName(file, path);
  OpenExistingFile(file);
  char buffer[40] = {};
  uint16_t got = 99;

  SeekFile(file, 13);
  ReadBlock(file, buffer, 40, got);
  EXPECT_EQ(got, 13);
  EXPECT_EQ(std::string(buffer, 13), "nopqrstuvwxyz");

  SeekFile(file, 1000);  // past the end is accepted
  ReadBlock(file, buffer, 40, got);
  EXPECT_EQ(got, 0);
  EXPECT_EQ(TakeError(), 0);

  SeekFile(file, -40);
  EXPECT_EQ(TakeError(), 131);
  CloseFile(file);
  EXPECT_EQ(TakeError(), 0);
}

TEST_F(BinaryFileTest, TheInputIsOpenForReadingOnly) {
  std::string path = folder.Path("readonly.bmp");
  WriteFile(path, "BM");
  ::chmod(path.c_str(), 0444);
  BinaryFile file;
  BindFileName(file, path);
  OpenExistingFile(file);
  EXPECT_EQ(TakeError(), 0);
  EXPECT_EQ(file.state, FileState::Input);
  WriteBlock(file, "x", 1);
  EXPECT_EQ(TakeError(), 105);
  CloseFile(file);
  EXPECT_EQ(ReadWholeFile(path), "BM");
}

TEST_F(BinaryFileTest, AFullDeviceFailsTheWrite) {
  if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  BinaryFile file;
  BindFileName(file, "/dev/full");
  CreateEmptyFile(file);
  ASSERT_EQ(TakeError(), 0);
  char block[1000] = {};
  WriteBlock(file, block, 1000);
  EXPECT_EQ(TakeError(), 101);
}

TEST_F(BinaryFileTest, OperationsOnAFileThatIsNotOpen) {
  BinaryFile never{};  // never bound: all zero
  OpenExistingFile(never);
  EXPECT_EQ(TakeError(), 102);
  CreateEmptyFile(never);
  EXPECT_EQ(TakeError(), 102);

  BinaryFile file;
  BindFileName(file, folder.Path("x"));
  char buffer[4];
  uint16_t got = 7;
  SeekFile(file, 0);
  EXPECT_EQ(TakeError(), 103);
  ReadBlock(file, buffer, 4, got);
  EXPECT_EQ(TakeError(), 103);
  EXPECT_EQ(got, 0);
  WriteBlock(file, buffer, 4);
  EXPECT_EQ(TakeError(), 103);
  CloseFile(file);
  EXPECT_EQ(TakeError(), 103);

  CreateEmptyFile(file);
  CloseFile(file);
  EXPECT_EQ(TakeError(), 0);
  CloseFile(file);  // closing twice
  EXPECT_EQ(TakeError(), 103);
}

TEST_F(BinaryFileTest, APendingErrorStopsEveryOperationButBinding) {
  std::string path = folder.Path("in.bin");
  WriteFile(path, "abc");
  BinaryFile file;
  BindFileName(file, path);
  OpenExistingFile(file);
  ASSERT_EQ(TakeError(), 0);

  pendingIoError = 77;
  char buffer[3] = {};
  uint16_t got = 5;
  ReadBlock(file, buffer, 3, got);
  EXPECT_EQ(got, 0);
  SeekFile(file, -1);
  CloseFile(file);
  EXPECT_EQ(file.state, FileState::Input);
  BinaryFile other;
  BindFileName(other, folder.Path("never-created"));
  CreateEmptyFile(other);
  EXPECT_EQ(other.state, FileState::Closed);
  EXPECT_EQ(TakeError(), 77);
  EXPECT_FALSE(FileExists(folder.Path("never-created")));
  CloseFile(file);
  EXPECT_EQ(TakeError(), 0);
}

TEST_F(BinaryFileTest, AnEmptyNameIsStandardOutputAndStaysOpen) {
  std::string path = folder.Path("stdout.txt");
  fflush(stdout);
  int saved = ::dup(STDOUT_FILENO);
  int target = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ::dup2(target, STDOUT_FILENO);
  ::close(target);

  BinaryFile file;
  BindFileName(file, "");
  CreateEmptyFile(file);
  WriteBlock(file, "screen", 6);
  CloseFile(file);
  uint16_t error = TakeError();
  bool stillOpen = ::write(STDOUT_FILENO, "!", 1) == 1;

  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  EXPECT_EQ(error, 0);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(ReadWholeFile(path), "screen!");
}

}  // namespace
