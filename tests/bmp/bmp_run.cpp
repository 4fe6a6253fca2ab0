#include "bmp_run.h"

#include <cstring>
#include <sstream>

#include "bmp/bmp_header.h"
#include "bmp/pixel_data.h"
#include "bmp/pixel_loader.h"
#include "bmp_test_files.h"
#include "files/io_check.h"
#include "memory_console.h"
#include "run_ended.h"

namespace {

std::vector<std::string> ConsoleLines() {
  std::vector<std::string> lines;
  std::istringstream text(MemoryConsoleWindowText());
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

}  // namespace

BmpRun RunBmpInput(const std::string& path, BmpStages stages) {
  std::memset(PixelData, 0, sizeof PixelData);
  // Wide enough that the longest message stays on one row.
  StartMemoryConsole(200, 30);
  BmpRun run;
  BinaryFile inputFile;
  BindFileName(inputFile, path);
  try {
    OpenExistingFile(inputFile);
    CheckIo();
    ReadBmpHeader(inputFile, run.totalBytesRead);
    if (stages == BmpStages::HeaderAndValidation || stages == BmpStages::All) ValidateHeader();
    if (stages == BmpStages::All || stages == BmpStages::SkipValidation)
      LoadPixelData(inputFile, run.totalBytesRead);
  } catch (const RunEnded& ended) {
    run.endStatus = ended.status;
  }
  run.lines = ConsoleLines();
  run.inputState = inputFile.state;
  if (inputFile.state == FileState::Input) {
    pendingIoError = 0;
    CloseFile(inputFile);
  }
  return run;
}

BmpRun RunBmpBytes(const std::vector<uint8_t>& bytes, BmpStages stages) {
  return RunBmpInput(WriteTestFile(bytes), stages);
}

std::string WidthLine(int64_t width) {
  return "Image dimensions incorrect error: Image is " + std::to_string(width) +
         " pixels, should be 320 pixels wide.";
}

std::string HeightLine(int64_t height) {
  return "Image dimensions incorrect error: Image is " + std::to_string(height) +
         " pixels, should be 200 pixels high.";
}

std::string ColoursLine(int64_t bitCount) {
  return "Image colours incorrect error: Image uses " + std::to_string(bitCount) +
         " bits/pixel, should use only 1 bit/pixel (hires, black/white) or 4 bit/pixel "
         "(multicolor, indexed 16colors).";
}

std::string SizeErrorLine(int64_t size) {
  return "Error: " + std::to_string(size) +
         " bytes are not correct! A black/white or 4bit 8x8 image should have exactly 8000 bits!";
}
