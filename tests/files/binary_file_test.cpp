// Binary files on real temporary files: the error number each failure of the
// system leaves pending, and the program's own rules for names and states.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <utility>

#include "files/binary_file.h"
#include "runtime/io_check.h"
#include "temp_folder.h"

namespace {

TempFolder folder;
BinaryFile file;
constexpr bool Existing = true, New = false;

uint16_t Error() { return std::exchange(pendingIoError, 0); }
uint16_t Open(const std::string& name, bool existing) {
  BindFileName(file, name.starts_with("/") ? name : folder.Path(name));
  return existing ? OpenExistingFile(file) : CreateEmptyFile(file), Error();
}
uint16_t Write() { return WriteBlock(file, "abc", 3), Error(); }
uint16_t Close() { return CloseFile(file), Error(); }
// What a read of 40 bytes at the position gives; its error stays pending.
std::string Read(int64_t position) {
  char buffer[40];
  uint16_t got = 99;
  return SeekFile(file, position), ReadBlock(file, buffer, 40, got), std::string(buffer, got);
}
// piece repeated to length bytes after prefix.
std::string Named(size_t length, const std::string& piece, std::string prefix = folder.Path("")) {
  while (prefix.size() < length) prefix += piece;
  return prefix;
}

TEST(BinaryFile, FailuresAndRules) {
  WriteFile(folder.Path("in"), "abcdefghijklmnopqrstuvwxyz");
  WriteFile(folder.Path("out"), std::string(5000, 'z'));
  WriteFile(Named(255, "x"), "victim"), ::mkdir(folder.Path("sub").c_str(), 0755);
  // A name over 255 characters is refused, not cut; one of 255 opens.
  const struct {
    std::string name;
    bool existing;
    uint16_t error;
  } opens[] = {
      {"nothing.bmp", Existing, 2},
      {"nowhere/x.bmp", Existing, 3},
      {"nowhere/x.bin", New, 3},
      {"in/x", New, 3},
      {"sub", Existing, 5},
      {"sub", New, 5},
      {Named(256, "x"), New, 3},
      {Named(255, "y"), New, 0},
  };
  for (const auto& [name, existing, error] : opens) {
    EXPECT_EQ(Open(name, existing), error) << name;
    CloseFile(file), pendingIoError = 0;
  }
  EXPECT_EQ(ReadWholeFile(Named(255, "x")), "victim");
  EXPECT_FALSE(FileExists(folder.Path("nowhere")) || FileExists(folder.Path("x")));

  // Characters count as shown: those of code page 1252 as one, any other
  // name by its bytes.
  const struct {
    const char* piece;
    size_t count;
    bool tooLong;
  } names[] = {
      {"\u00E4", 255, false},
      {"\u00E4", 256, true},
      {"\u20AC", 255, false},
      {"\u65E5", 85, false},
      {"\u65E5", 86, true},
      {"\xE4", 255, false},
      {"\xE4", 256, true},
  };
  for (const auto& [piece, count, tooLong] : names) {
    BindFileName(file, Named(count * std::strlen(piece), piece, ""));
    EXPECT_EQ(file.nameTooLong, tooLong) << piece << " " << count;
  }

  // An output is emptied first; an input is read where it is positioned,
  // and never written.
  EXPECT_EQ(Open("out", New), 0);
  EXPECT_EQ(Write(), 0);
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(ReadWholeFile(folder.Path("out")), "abc");
  ASSERT_EQ(Open("in", Existing), 0);
  const struct {
    int64_t position;
    const char* bytes;
    uint16_t error;
  } reads[] = {
      {13, "nopqrstuvwxyz", 0},
      {1000, "", 0},
      {-40, "", 131},
  };
  for (const auto& [position, bytes, error] : reads) {
    EXPECT_EQ(Read(position), bytes) << position;
    EXPECT_EQ(Error(), error) << position;
  }
  EXPECT_EQ(Write(), 105);
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(Open("/dev/full", New), 0);
  EXPECT_EQ(Write(), 101);
  CloseFile(file), pendingIoError = 0;

  // A pending error stops every operation: the input stays open, nothing is created.
  ASSERT_EQ(Open("in", Existing), 0);
  BinaryFile other;
  pendingIoError = 77, CloseFile(file), BindFileName(other, folder.Path("never"));
  CreateEmptyFile(other);
  EXPECT_EQ(file.state, FileState::Input);
  EXPECT_EQ(Error(), 77);
  EXPECT_FALSE(FileExists(folder.Path("never")));
  CloseFile(file), pendingIoError = 0;

  // The empty name is standard output, which is never closed.
  BindFileName(file, "");
  CreateEmptyFile(file);
  EXPECT_EQ(Error(), 0);
  EXPECT_EQ(Close(), 0);
  EXPECT_EQ(::fcntl(1, F_GETFD), 0);
}

}  // namespace
