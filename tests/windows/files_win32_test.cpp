// Binary files over the real Windows file layer: what CreateFileW, ReadFile,
// WriteFile and SetFilePointer report, turned into the program's numbers.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "files/binary_file.h"
#include "runtime/handle_platform.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "temp_folder.h"

namespace {

class FilesOnWindows : public testing::Test {
 protected:
  void SetUp() override { StartRuntime(); }

  // Opens as the input (existing) or the output and returns the error left.
  static uint16_t Open(BinaryFile& file, const std::string& path, bool existing) {
    BindFileName(file, path);
    existing ? OpenExistingFile(file) : CreateEmptyFile(file);
    return std::exchange(pendingIoError, 0);
  }

  TempFolder folder;  // its names use slashes, which the layer must turn round
};

TEST_F(FilesOnWindows, FailedOpensGiveTheProgramsNumbers) {
  std::filesystem::create_directory(folder.Path("sub"));
  WriteFile(folder.Path("busy.bmp"), "BM");
  HANDLE writer =
      CreateFileA(folder.Path("busy.bmp").c_str(), GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const struct {
    const char* name;
    bool existing;
    uint16_t number;
  } cases[] = {
      {"missing.bmp", true, 2},        {"nofolder/in.bmp", true, 3},
      {"nofolder/out.bin", false, 3},  {"sub", true, 5},
      {"sub", false, 5},               {"bad?name.bin", false, 123},
      {"busy.bmp", true, 5},           {"busy.bmp", false, 5},  // another program writes it
  };
  for (const auto& c : cases) {
    BinaryFile file;
    EXPECT_EQ(Open(file, folder.Path(c.name), c.existing), c.number) << c.name;
    EXPECT_EQ(file.state, FileState::Closed) << c.name;
  }
  CloseHandle(writer);
}

TEST_F(FilesOnWindows, CreateEmptiesAFileThatOthersMayReadButNotWrite) {
  std::string path = folder.Path("out.bin");
  WriteFile(path, std::string(100, 'x'));
  BinaryFile file;
  // Behind \\?\ Windows takes a name as it is: only the layer turns the slash.
  ASSERT_EQ(Open(file, "\\\\?\\" + path, false), 0) << path;
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(reinterpret_cast<HANDLE>(file.handle), &flags) &&
              (flags & HANDLE_FLAG_INHERIT))
      << "handles are inheritable";
  WriteBlock(file, "abc", 3);
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(ReadWholeFile(path), "abc");
}

TEST_F(FilesOnWindows, TheInputIsReadOnlyAndSeeksFromTheStart) {
  std::string path = folder.Path("in.bmp");
  WriteFile(path, "ABCDEFGHIJ");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  BinaryFile file;
  ASSERT_EQ(Open(file, path, true), 0);
  uint32_t written = 0;
  EXPECT_EQ(PlatformWriteFile(file.handle, "x", 1, &written), 5) << "opened for reading only";
  char buffer[16] = {};
  uint16_t countRead = 0;
  const struct {
    int64_t position;
    const char* bytes;  // all that a read of 16 gives
  } cases[] = {{2, "CDEFGHIJ"}, {9, "J"}, {10, ""}, {4294967296LL + 3, ""}};
  for (const auto& c : cases) {
    SeekFile(file, c.position);
    ReadBlock(file, buffer, 16, countRead);
    EXPECT_EQ(pendingIoError, 0) << c.position;
    EXPECT_EQ(std::string(buffer, countRead), c.bytes) << c.position;
  }
  SeekFile(file, -1);
  EXPECT_EQ(std::exchange(pendingIoError, 0), 131) << "a negative position";
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
}

TEST_F(FilesOnWindows, NamesAreReadInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs ANSI code page 1252, this system has " << GetACP();
  BinaryFile file;
  ASSERT_EQ(Open(file, folder.Path("caf\xe9.bin"), false), 0);
  CloseFile(file);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.root) / L"caf\u00e9.bin"));
}

TEST_F(FilesOnWindows, AnEmptyNameIsStandardOutputAndStaysOpen) {
  BinaryFile file;
  ASSERT_EQ(Open(file, "", true), 0);
  HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  EXPECT_EQ(reinterpret_cast<HANDLE>(file.handle), standardOutput);
  CloseFile(file);
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(standardOutput, &flags)) << "standard output is not closed";
}

TEST_F(FilesOnWindows, ABrokenPipeIsTheEndOfTheData) {
  HANDLE readEnd, writeEnd;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  DWORD written = 0;
  WriteFile(writeEnd, "hello", 5, &written, nullptr);
  CloseHandle(writeEnd);
  FileHandle handle = reinterpret_cast<FileHandle>(readEnd);
  char buffer[16];
  uint32_t obtained = 0;
  EXPECT_EQ(PlatformReadFile(handle, buffer, 16, &obtained), 0);
  EXPECT_EQ(obtained, 5u);
  EXPECT_EQ(PlatformReadFile(handle, buffer, 16, &obtained), 0)
      << "no failure once the writer is gone";
  EXPECT_EQ(obtained, 0u);
  EXPECT_EQ(PlatformCloseFile(handle), 0);
  EXPECT_EQ(PlatformCloseFile(handle), ERROR_INVALID_HANDLE) << "a failed close is reported";
}

}  // namespace
