// Binary files on real temporary files: the error number each failure of the
// system leaves pending, and the program's own rules for names and states.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <numeric>
#include <string>
#include <utility>

#include "files/binary_file.h"
#include "runtime/io_check.h"
#include "temp_folder.h"

namespace {

TempFolder folder;
BinaryFile file;

// Each step in turn (a braced list is evaluated in order): the error each
// leaves, and what it gives.
std::string Steps(std::initializer_list<std::string> results) {
  return std::accumulate(results.begin(), results.end(), std::string());
}
std::string Error() { return std::to_string(std::exchange(pendingIoError, 0)); }
std::string Open(const std::string& name, bool existing) {
  BindFileName(file, name.starts_with("/") ? name : folder.Path(name));
  return existing ? OpenExistingFile(file) : CreateEmptyFile(file), Error();
}
std::string Write() { return WriteBlock(file, "abc", 3), Error(); }
std::string Close() { return CloseFile(file), Error(); }
std::string Read(int64_t position) {
  char buffer[40];
  uint16_t got = 99;
  return SeekFile(file, position), ReadBlock(file, buffer, 40, got), std::string(buffer, got) + Error();
}
// piece repeated to length bytes after prefix.
std::string Named(size_t length, const std::string& piece, std::string prefix = folder.Path("")) {
  while (prefix.size() < length) prefix += piece;
  return prefix;
}

TEST(BinaryFile, FailuresAndRules) {
  WriteFile(folder.Path("in"), "abcdefghijklmnopqrstuvwxyz"), WriteFile(folder.Path("out"), std::string(5000, 'z'));
  WriteFile(Named(255, "x"), "victim"), ::mkdir(folder.Path("sub").c_str(), 0755);
  const std::pair<std::string (*)(), const char*> cases[] = {
      {[] {
         return Steps({Open("nothing.bmp", true), Open("nowhere/x.bmp", true), Open("nowhere/x.bin", false),
                       Open("in/x", false), Open("sub", true), Open("sub", false)});
       }, "233355"},
      // A name over 255 characters is refused, not cut; one of 255 opens.
      {[] { return Steps({Open(Named(256, "x"), false), Open(Named(255, "y"), false)}); }, "30"},
      // Characters count as shown: those of code page 1252 as one, any
      // other name by its bytes.
      {[] {
         std::string tooLong;
         for (const auto& [piece, count] : {std::pair{"\u00E4", 255}, {"\u00E4", 256}, {"\u20AC", 255}, {"\u65E5", 85},
                                            {"\u65E5", 86}, {"\xE4", 255}, {"\xE4", 256}})
           BindFileName(file, Named(count * std::string(piece).size(), piece, "")), tooLong += '0' + file.nameTooLong;
         return tooLong;
       }, "0100101"},
      {[] { return Steps({Open("out", false), Write(), Close(), ReadWholeFile(folder.Path("out"))}); }, "000abc"},
      {[] { return Steps({Open("in", true), Read(13), Read(1000), Read(-40), Write()}); }, "0nopqrstuvwxyz00131105"},
      {[] { return Steps({Open("/dev/full", false), Write()}); }, "0101"},
      // A pending error stops every operation: the input stays open, nothing is created.
      {[] {
         BinaryFile other;
         Open("in", true), pendingIoError = 77, CloseFile(file), BindFileName(other, folder.Path("never")), CreateEmptyFile(other);
         return std::to_string(int(file.state)) + Error() + std::to_string(FileExists(folder.Path("never")));
       }, "2770"},
      // The empty name is standard output, which is never closed.
      {[] { return BindFileName(file, ""), Steps({(CreateEmptyFile(file), Error()), Close(), std::to_string(::fcntl(1, F_GETFD))}); },
       "000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.first(), c.second) << "case " << &c - cases;
    pendingIoError = 0, CloseFile(file), pendingIoError = 0;
  }
  EXPECT_EQ(ReadWholeFile(Named(255, "x")), "victim");
  EXPECT_FALSE(FileExists(folder.Path("nowhere")) || FileExists(folder.Path("x")));
}

}  // namespace
