#pragma once
#include <string>
#include <vector>

// The program's own lines, as the driver's tests expect to see them.
inline const char Banner[] = "cellglyph v0.2 [07.02.2017] *** by Tamblin";
inline const char Description[] =
    "Description: Reads a black/white (1bit/pixel) 320x200 pixel bmp and converts it to a PETSCII "
    "binary.";
inline const char UsageTail[] =
    " <inname.bmp> <outname.bin> <\"dirart\" for dirart, limited charset> <samebit limit 0-64>";

// Banner, description, usage and example, one per line.
inline std::string UsageText(const std::string& program) {
  return std::string(Banner) + "\n" + Description + "\nUsage: " + program + UsageTail +
         "\nExample: " + program + " bob.bmp bob.bin normal 56";
}

// What a run of a well-formed image with a two-colour table shows before
// its report.
inline std::vector<std::string> LinesBeforeReport(const std::string& input,
                                                  const std::string& output) {
  return {
      Banner,
      "Opening file \"" + input + "\" for reading...",
      "[54 bytes read] done.",
      "8000 bytes bitmap data.",
      "Starting at position: 62 byte",
      "Hires: Image is in black/white mode.",
      "8000 bytes PixelData read.",
      "8054 bytes totally read.",
      "Opening file \"" + output + "\" for writing...",
  };
}
