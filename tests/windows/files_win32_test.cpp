// Binary files over the real Windows file layer: what CreateFileW, ReadFile,
// WriteFile and SetFilePointer report, turned into the program's numbers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/binary_file.h"
#include "files/file_platform.h"
#include "files/io_check.h"
#include "memory_console.h"

namespace {

class FilesOnWindows : public testing::Test {
 protected:
  void SetUp() override {
    StartMemoryConsole(80, 25);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "cellglyph-files-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }

  void TearDown() override {
    pendingIoError = 0;
    for (const std::string& path : created) {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string PathOf(const std::string& name) {
    std::string path = folder + "\\" + name;
    created.insert(created.begin(), path);
    return path;
  }

  std::string MakeFile(const std::string& name, const std::string& content) {
    std::string path = PathOf(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return path;
  }

  static int64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  // Opens an existing file and returns the pending error the open left.
  static uint16_t OpenExisting(BinaryFile& file, const std::string& path) {
    BindFileName(file, path);
    OpenExistingFile(file);
    uint16_t error = pendingIoError;
    pendingIoError = 0;
    return error;
  }

  static uint16_t Create(BinaryFile& file, const std::string& path) {
    BindFileName(file, path);
    CreateEmptyFile(file);
    uint16_t error = pendingIoError;
    pendingIoError = 0;
    return error;
  }

  std::string folder;
  std::vector<std::string> created;  // deleted in this order: newest first
};

TEST_F(FilesOnWindows, FailedOpensGiveTheProgramsNumbers) {
  std::string sub = PathOf("sub");
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  struct Case {
    const char* what;
    std::string path;
    bool openExisting;
    uint16_t number;
  };
  const Case cases[] = {
      {"missing input", folder + "\\missing.bmp", true, 2},
      {"input in a missing folder", folder + "\\nofolder\\in.bmp", true, 3},
      {"output in a missing folder", folder + "\\nofolder\\out.bin", false, 3},
      {"a folder as input", sub, true, 5},
      {"a folder as output", sub, false, 5},
      {"a name the file system rejects", folder + "\\bad?name.bin", false, 123},
  };
  for (const Case& c : cases) {
    BinaryFile file;
    uint16_t error = c.openExisting ? OpenExisting(file, c.path) : Create(file, c.path);
    EXPECT_EQ(error, c.number) << c.what;
    EXPECT_EQ(file.state, FileState::Closed) << c.what;
  }
  EXPECT_EQ(GetFileAttributesA((folder + "\\nofolder").c_str()), INVALID_FILE_ATTRIBUTES)
      << "a failed create must leave nothing behind";
}

TEST_F(FilesOnWindows, CreateEmptiesAnExistingFileAndWritesExactly) {
  std::string path = MakeFile("out.bin", std::string(5000, 'x'));
  BinaryFile file;
  ASSERT_EQ(Create(file, path), 0);
  EXPECT_EQ(SizeOf(path), 0) << "an existing file is emptied";
  uint8_t screen[1000];
  for (int i = 0; i < 1000; ++i) screen[i] = static_cast<uint8_t>(i * 7);
  WriteBlock(file, screen, 1000);
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(SizeOf(path), 1000);

  BinaryFile again;
  ASSERT_EQ(OpenExisting(again, path), 0);
  uint8_t back[1000] = {};
  uint16_t countRead = 0;
  ReadBlock(again, back, 1000, countRead);
  CloseFile(again);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(countRead, 1000);
  EXPECT_EQ(std::memcmp(back, screen, 1000), 0);
}

TEST_F(FilesOnWindows, SeeksAndShortReads) {
  std::string content;
  for (int i = 0; i < 53; ++i) content += static_cast<char>('A' + i % 26);
  std::string path = MakeFile("in.bmp", content);
  BinaryFile file;
  ASSERT_EQ(OpenExisting(file, path), 0);
  char buffer[64] = {};
  uint16_t countRead = 0;

  SeekFile(file, 40);
  ReadBlock(file, buffer, 40, countRead);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(countRead, 13) << "fewer bytes than asked is no failure";
  EXPECT_EQ(std::string(buffer, 13), content.substr(40));

  SeekFile(file, 4294967296LL + 7);  // beyond 32 bits: the high half counts
  ReadBlock(file, buffer, 40, countRead);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(countRead, 0) << "reading past the end gives nothing, without failure";

  SeekFile(file, 2);
  ReadBlock(file, buffer, 3, countRead);
  EXPECT_EQ(std::string(buffer, countRead), "CDE") << "a seek from the start, not the end";

  SeekFile(file, -1);
  EXPECT_EQ(pendingIoError, 131) << "a negative position";
  pendingIoError = 0;
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
}

TEST_F(FilesOnWindows, SlashesInANameAreBackslashes) {
  std::string sub = PathOf("sub");
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  std::string path = PathOf("sub\\made.bin");
  std::string slashed = path;
  for (char& c : slashed)
    if (c == '\\') c = '/';
  BinaryFile file;
  ASSERT_EQ(Create(file, slashed), 0);
  WriteBlock(file, "abc", 3);
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(SizeOf(path), 3);
}

TEST_F(FilesOnWindows, AReadOnlyInputOpens) {
  std::string path = MakeFile("locked.bmp", "BM");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  BinaryFile input;
  ASSERT_EQ(OpenExisting(input, path), 0) << "the input is opened for reading only";
  char buffer[4] = {};
  uint16_t countRead = 0;
  ReadBlock(input, buffer, 4, countRead);
  EXPECT_EQ(countRead, 2);
  WriteBlock(input, "xx", 2);
  EXPECT_EQ(pendingIoError, 105) << "an input is not written";
  pendingIoError = 0;
  CloseFile(input);
  EXPECT_EQ(pendingIoError, 0);
}

TEST_F(FilesOnWindows, AReadOnlyFileIsNotReplaced) {
  std::string path = MakeFile("locked.bin", "BM");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  // Wine run by root writes read-only files like any other: nothing to see.
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (writer != INVALID_HANDLE_VALUE) {
    CloseHandle(writer);
    GTEST_SKIP() << "this system lets read-only files be written";
  }
  BinaryFile output;
  EXPECT_EQ(Create(output, path), 5) << "access denied";
  EXPECT_EQ(SizeOf(path), 2);
}

TEST_F(FilesOnWindows, OthersMayReadButNotWriteAnOpenFile) {
  std::string path = MakeFile("shared.bin", "data");
  BinaryFile file;
  ASSERT_EQ(OpenExisting(file, path), 0);
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "reading alongside is allowed";
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "writing alongside is not";
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);

  DWORD flags = 0;
  ASSERT_TRUE(GetHandleInformation(reinterpret_cast<HANDLE>(file.handle), &flags));
  EXPECT_NE(flags & HANDLE_FLAG_INHERIT, 0u) << "handles are inheritable";
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
}

TEST_F(FilesOnWindows, AFileHeldForWritingIsASharingViolation) {
  std::string path = MakeFile("busy.bmp", "BM");
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  BinaryFile input;
  EXPECT_EQ(OpenExisting(input, path), 5) << "sharing violation, reported as access denied";
  BinaryFile output;
  EXPECT_EQ(Create(output, path), 5);
  CloseHandle(writer);
}

TEST_F(FilesOnWindows, NamesAreReadInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs ANSI code page 1252, this system has " << GetACP();
  std::string path = PathOf("caf\xe9.bin");
  BinaryFile file;
  ASSERT_EQ(Create(file, path), 0);
  CloseFile(file);
  std::wstring wide;
  for (char c : folder) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  wide += L"\\caf\u00e9.bin";
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES)
      << "byte E9 is the letter e with acute";
}

TEST_F(FilesOnWindows, AnEmptyNameIsStandardOutputAndStaysOpen) {
  BinaryFile file;
  ASSERT_EQ(OpenExisting(file, ""), 0);
  HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  EXPECT_EQ(reinterpret_cast<HANDLE>(file.handle), standardOutput);
  CloseFile(file);
  EXPECT_EQ(pendingIoError, 0);
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(standardOutput, &flags)) << "standard output is not closed";
}

TEST_F(FilesOnWindows, ABrokenPipeIsTheEndOfTheData) {
  HANDLE readEnd, writeEnd;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  DWORD written = 0;
  WriteFile(writeEnd, "hello", 5, &written, nullptr);
  CloseHandle(writeEnd);
  char buffer[16];
  uint32_t obtained = 0;
  FileHandle handle = reinterpret_cast<FileHandle>(readEnd);
  EXPECT_EQ(PlatformReadFile(handle, buffer, 16, &obtained), 0);
  EXPECT_EQ(obtained, 5u);
  EXPECT_EQ(PlatformReadFile(handle, buffer, 16, &obtained), 0) << "no failure once the writer is gone";
  EXPECT_EQ(obtained, 0u);
  CloseHandle(readEnd);
}

TEST_F(FilesOnWindows, AFailedCloseReportsTheSystemError) {
  HANDLE readEnd, writeEnd;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  CloseHandle(readEnd);
  CloseHandle(writeEnd);
  EXPECT_EQ(PlatformCloseFile(reinterpret_cast<FileHandle>(readEnd)), ERROR_INVALID_HANDLE);
}

}  // namespace
