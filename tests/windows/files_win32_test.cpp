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

BinaryFile file;

// Opens as the input (existing) or the output and returns the error left.
uint16_t Open(const std::string& path, bool existing) {
  BindFileName(file, path);
  existing ? OpenExistingFile(file) : CreateEmptyFile(file);
  return std::exchange(pendingIoError, 0);
}

HANDLE OpenOther(const std::string& path, DWORD access) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(FilesOnWindows, NumbersAndRules) {
  StartRuntime();
  TempFolder folder;  // its names use slashes, which the layer must turn round
  std::filesystem::create_directory(folder.Path("sub"));
  WriteFile(folder.Path("busy.bmp"), "BM"), WriteFile(folder.Path("in.bmp"), "ABCDEFGHIJ");
  SetFileAttributesA(folder.Path("in.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE writer = OpenOther(folder.Path("busy.bmp"), GENERIC_WRITE);  // another program writes it
  constexpr bool Existing = true, New = false;
  const struct {
    const char* name;
    bool existing;
    uint16_t number;
  } opens[] = {
      {"missing.bmp", Existing, 2},
      {"nofolder/in.bmp", Existing, 3},
      {"nofolder/out.bin", New, 3},
      {"sub", Existing, 5},
      {"sub", New, 5},
      {"bad?name.bin", New, 123},
      {"busy.bmp", Existing, 5},
      {"busy.bmp", New, 5},
  };
  for (const auto& [name, existing, number] : opens)
    EXPECT_EQ(Open(folder.Path(name), existing), number) << name;
  CloseHandle(writer);

  // The input is opened for reading only, and seeks from the start.
  ASSERT_EQ(Open(folder.Path("in.bmp"), true), 0);
  uint32_t count = 0;
  EXPECT_EQ(PlatformWriteFile(file.handle, "x", 1, &count), 5);
  char buffer[16] = {};
  uint16_t got = 0;
  const struct {
    int64_t position;
    const char* bytes;
    uint16_t error;
  } reads[] = {
      {2, "CDEFGHIJ", 0},
      {9, "J", 0},
      {10, "", 0},
      {4294967296LL + 3, "", 0},
      {-1, "", 131},
  };
  for (const auto& [position, bytes, error] : reads) {
    SeekFile(file, position), ReadBlock(file, buffer, 16, got);
    EXPECT_EQ(std::string(buffer, got), bytes) << position;
    EXPECT_EQ(std::exchange(pendingIoError, 0), error) << position;
  }
  CloseFile(file);

  // Behind \\?\ a name is taken as it is: only the layer turns the slash.
  // Others may read the output while it is open, not write it; its handle
  // is inherited.
  ASSERT_EQ(Open("\\\\?\\" + folder.Path("out.bin"), false), 0);
  HANDLE reader = OpenOther(folder.Path("out.bin"), GENERIC_READ);
  EXPECT_TRUE(reader != INVALID_HANDLE_VALUE && CloseHandle(reader));
  EXPECT_EQ(OpenOther(folder.Path("out.bin"), GENERIC_WRITE), INVALID_HANDLE_VALUE);
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(reinterpret_cast<HANDLE>(file.handle), &flags));
  EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
  WriteBlock(file, "abc", 3), CloseFile(file);
  EXPECT_EQ(ReadWholeFile(folder.Path("out.bin")), "abc");
  EXPECT_EQ(pendingIoError, 0);

  // The empty name is standard output, which closing the file leaves open.
  ASSERT_EQ(Open("", true), 0);
  EXPECT_EQ(reinterpret_cast<HANDLE>(file.handle), GetStdHandle(STD_OUTPUT_HANDLE));
  CloseFile(file);
  EXPECT_TRUE(GetHandleInformation(GetStdHandle(STD_OUTPUT_HANDLE), &flags));

  // A pipe whose writer has gone has run out of data; a failed close counts.
  HANDLE readEnd, writeEnd;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  ASSERT_TRUE(::WriteFile(writeEnd, "hello", 5, &flags, nullptr));
  CloseHandle(writeEnd);
  const FileHandle pipe = reinterpret_cast<FileHandle>(readEnd);
  for (const uint32_t expected : {5u, 0u}) {
    EXPECT_EQ(PlatformReadFile(pipe, buffer, 16, &count), 0);
    EXPECT_EQ(count, expected);
  }
  EXPECT_EQ(PlatformCloseFile(pipe), 0);
  EXPECT_EQ(PlatformCloseFile(pipe), ERROR_INVALID_HANDLE);
}

}  // namespace
