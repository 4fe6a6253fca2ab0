#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/binary_file.h"

// Runs the bitmap input on a file the way the conversion does: open, read
// the header, validate it, load the pixels, on the in-memory console with
// a throwing process end, and reports what happened.

enum class BmpStages {
  Header,               // ReadBmpHeader only
  HeaderAndValidation,  // then ValidateHeader
  All,                  // then LoadPixelData
  SkipValidation,       // ReadBmpHeader, then LoadPixelData directly
};

struct BmpRun {
  std::optional<int32_t> endStatus;  // empty when the last stage returned
  int32_t totalBytesRead = 0;
  std::vector<std::string> lines;    // the console window's lines
  FileState inputState = FileState::NeverBound;  // when the run stopped
};

// PixelData is cleared first, as it is at program start.
BmpRun RunBmpInput(const std::string& path, BmpStages stages);
BmpRun RunBmpBytes(const std::vector<uint8_t>& bytes, BmpStages stages);

// The console line of an error, as the tests expect it.
std::string WidthLine(int64_t width);
std::string HeightLine(int64_t height);
std::string ColoursLine(int64_t bitCount);
std::string SizeErrorLine(int64_t size);
