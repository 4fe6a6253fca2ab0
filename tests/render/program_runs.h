#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Runs the renderer's or the converter's main program in this process, on
// the in-memory console with a throwing process end, as if started with the
// given arguments (argument 0 is the program's name).
struct MainRun {
  int32_t status = -1;            // -1 when the program returned without ending
  std::vector<std::string> rows;  // the console window's rows
};

MainRun RunRenderer(const std::vector<std::string>& arguments);
MainRun RunConverter(const std::vector<std::string>& arguments);

// A screen file of codes 0 to codeCount - 1.
std::string RandomScreen(uint32_t seed, int codeCount);

// The screen the converter gives back for a rendered one: glyphs that share
// their pattern with a lower-numbered glyph come back as that lower twin.
std::string WithLowerTwins(std::string screen);
