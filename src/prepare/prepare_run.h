#pragma once
#include <string_view>

#include "prepare/prepare_settings.h"

// Reads the picture, lays it on the screen, chooses the pixels and writes
// the 1-bit BMP the converter reads, and with colours the colour file: the
// cells' inks, then the border and the background. Everything is built before the
// output is created, so a failed run leaves an existing file as it was.
// A picture the program cannot take ends the run with the rejection line
// and status 1; a failed file operation with its I/O error number.
void PreparePicture(std::string_view pictureName, std::string_view outputName,
                    const PrepareSettings& settings);
