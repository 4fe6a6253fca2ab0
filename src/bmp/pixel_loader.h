#pragma once
#include <cstdint>

#include "bmp/pixel_layout.h"
#include "files/binary_file.h"

// Loads the 200 pixel rows of the input file into pixelData (laid out as
// pixel_layout.h says), bottom file row last, after checking that the header announces exactly 8000 bytes of
// pixel data. Returns only for a 1-bit image, also when the file ends early
// (missing bytes stay 0); every other outcome ends the run. Adds the bytes
// obtained to totalBytesRead. Runs after ReadBmpHeader and ValidateHeader.
void LoadPixelData(BinaryFile& inputFile, int32_t& totalBytesRead,
                   uint8_t (&pixelData)[PixelDataSize]);
