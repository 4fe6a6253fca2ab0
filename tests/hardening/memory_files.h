#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Files held in memory, linked in place of the platform's files so that a
// whole run goes in process, fast, with any one file operation made to
// fail. Handles 0 to 2 are the standard ones: standard input reads as
// empty, reading standard output fails as it does on POSIX, and what
// standard output and standard error take is kept. `memoryFiles = {}`
// forgets everything.

struct MemoryHandle {
  std::string name;
  size_t position;
  bool writable;
  bool open;
};

struct MemoryFiles {
  std::map<std::string, std::string> files;  // the bytes of each file, by name
  std::vector<MemoryHandle> handles;         // handle 3 first
  std::string standardOutput;
  std::string standardError;
  // One letter per open, seek, read, write and close, in order: o, s, r, w,
  // c. Writes to standard error (the failure report) are not counted, so
  // that every failure can be reported.
  std::string operations;
  // Operation failAt, counted from 1, fails with failNumber. A failing write
  // first stores failBytes of its bytes, as a write that ran out of room
  // part way; with the number 0 it reports no error, as a short write.
  size_t failAt;
  uint16_t failNumber;
  uint32_t failBytes;
};

extern MemoryFiles memoryFiles;
