// Any bytes as the input file of a whole run: command line, header reading
// and validation, pixel loading, matching, the output file and the report,
// in process on an in-memory console and in-memory files. Beyond crashes and
// sanitizer findings, every run must end in one of its proper ways and leave
// results that agree with the bytes it was given.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bmp/header_fields.h"
#include "bmp/pixel_layout.h"
#include "driver/main_program.h"
#include "driver/run_state.h"
#include "fuzz_require.h"
#include "match/glyph_search.h"
#include "match/row_pattern.h"
#include "match/screen_layout.h"
#include "memory_console.h"
#include "memory_files.h"
#include "run_ended.h"
#include "runtime/command_line.h"

namespace {

const char InputName[] = "in.bmp";
const char OutputName[] = "out.bin";
constexpr int32_t RejectedStatus = 1;
constexpr int32_t NegativePositionStatus = 131;

// The header is read field by field to its 54th byte or the end of the file.
int64_t HeaderBytesRead(size_t size) { return static_cast<int64_t>(size < 54 ? size : 54); }

bool PixelDataAllZero() {
  for (uint8_t byte : PixelData)
    if (byte != 0) return false;
  return true;
}

// File row k starts at bfOffBits + 40 k and lands in PixelData row 199 - k;
// what the file does not hold stays 0.
int64_t CheckPixelData(const uint8_t* data, size_t size, int64_t offBits) {
  int64_t obtained = 0;
  for (int64_t fileRow = 0; fileRow < PixelRows; ++fileRow) {
    const uint8_t* row = &PixelData[(PixelRows - 1 - fileRow) * PixelRowBytes];
    for (int64_t i = 0; i < PixelRowBytes; ++i) {
      int64_t at = offBits + fileRow * PixelRowBytes + i;
      bool present = at >= 0 && static_cast<uint64_t>(at) < size;
      Require(row[i] == (present ? data[at] : 0), "PixelData differs from the file");
      obtained += present ? 1 : 0;
    }
  }
  return obtained;
}

// Every cell against the plain search, which the matcher's shortcuts and
// vector paths must agree with. Images repeat cells a lot, so each distinct
// cell is searched once.
void CheckMatch() {
  constexpr size_t Slots = 2048;  // more than twice the cells: probing ends
  static uint64_t patterns[Slots];
  static GlyphMatch matches[Slots];
  static bool used[Slots];
  std::memset(used, 0, sizeof used);
  for (int row = 0; row < CellRows; ++row) {
    for (int column = 0; column < CellColumns; ++column) {
      uint8_t cell[GlyphRows];
      for (int line = 0; line < GlyphRows; ++line)
        cell[line] = PixelData[(row * GlyphRows + line) * PixelRowBytes + column];
      const uint64_t pattern = PackRows(cell);
      size_t slot = (pattern * 0x9E3779B97F4A7C15ULL) >> 53;
      while (used[slot] && patterns[slot] != pattern) slot = (slot + 1) % Slots;
      if (!used[slot]) {
        used[slot] = true;
        patterns[slot] = pattern;
        matches[slot] = SearchGlyphsPortable(pattern, dirartMode);
      }
      Require(ScreenCodes[row * CellColumns + column] == matches[slot].glyph, "wrong glyph");
      Require(SameBitsGrid[row][column] == matches[slot].samebits, "wrong samebits");
    }
  }
}

// A whole line of the screen: "done." must not match the end of the
// header's count line "[54 bytes read] done.".
bool HasLine(const std::string& screen, const std::string& line) {
  return ("\n" + screen + "\n").find("\n" + line + "\n") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetRunState();
  const std::string staleOutput = "stale";
  memoryFiles = {};
  memoryFiles.files = {{InputName, std::string(data, data + size)}, {OutputName, staleOutput}};
  // Tall enough that nothing scrolls away before it is checked.
  StartMemoryConsole(100, 60);

  // The input's length picks the glyph range, so both are explored.
  static std::string_view arguments[4] = {InputName, OutputName, "", "56"};
  arguments[2] = size % 2 == 1 ? "dirart" : "normal";
  SetArguments("cellglyph", arguments, 4);

  int32_t status = -1;
  try {
    RunMainProgram();
  } catch (const RunEnded& ended) {
    status = ended.status;
  }

  const int64_t offBits = HeaderBfOffBits();
  const std::string output = memoryFiles.files[OutputName];
  const std::string screen = MemoryConsoleWindowText();
  const bool outputUntouched = output == staleOutput;
  Require(memoryFiles.standardOutput.empty(), "bytes on standard output");

  if (status == 0) {
    Require(memoryFiles.standardError.empty(), "a failure report after success");
    Require(output.size() == CellCount, "the output is not 1000 bytes");
    Require(std::memcmp(output.data(), ScreenCodes, CellCount) == 0, "output is not ScreenCodes");
    for (const MemoryHandle& handle : memoryFiles.handles)
      Require(!handle.open, "a file left open after success");
    int64_t pixelBytes = CheckPixelData(data, size, offBits);
    std::string total = std::to_string(HeaderBytesRead(size) + pixelBytes) + " bytes totally read.";
    Require(HasLine(screen, total), "wrong total of bytes read");
    for (int cell = 0; cell < CellCount; ++cell) {
      int16_t samebits = SameBitsGrid[cell / CellColumns][cell % CellColumns];
      Require(samebits >= (dirartMode ? 1 : 32) && samebits <= 64, "samebits out of range");
      Require(!dirartMode || ScreenCodes[cell] < 128, "a reverse glyph in dirart mode");
    }
    CheckMatch();
    Require(screen.size() >= 6 && screen.compare(screen.size() - 6, 6, "\ndone.") == 0,
            "no done. at the end");
    return 0;
  }

  // Every other end leaves the output as it was and claims nothing.
  Require(outputUntouched, "the output was touched by a failed run");
  Require(!HasLine(screen, "done."), "done. after a failure");
  if (status == RejectedStatus) {
    Require(memoryFiles.standardError.empty(), "a failure report after a rejection");
    Require(PixelDataAllZero(), "pixels loaded from a rejected file");
  } else if (status == NegativePositionStatus) {
    // The only failure that bytes alone can cause: rows before the file start.
    Require(offBits < 0, "a negative position without a negative bfOffBits");
    Require(memoryFiles.standardError.rfind("Runtime error 131 at $", 0) == 0,
            "no failure report");
  } else {
    Fail("an exit status no input file can cause");
  }
  return 0;
}
