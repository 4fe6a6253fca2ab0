#pragma once
#include <cstdint>

#include "files/binary_file.h"

// Loads the 200 pixel rows of the input file into PixelData, bottom file row
// last, after checking that the header announces exactly 8000 bytes of
// pixel data. Returns only for a 1-bit image, also when the file ends early
// (missing bytes stay 0); every other outcome ends the run. Adds the bytes
// obtained to totalBytesRead. Runs after ReadBmpHeader and ValidateHeader.
void LoadPixelData(BinaryFile& inputFile, int32_t& totalBytesRead);
