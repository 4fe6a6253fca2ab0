#pragma once
#include <string_view>

#include "prepare/prepare_settings.h"

// Reads the picture, lays it on the screen, chooses the pixels, gives them
// the converter's screen codes and writes every output, and with a colour
// file named by --colours that file: the cells' inks, then the border and
// the background. Everything is built before the first output is created,
// so a failed run leaves existing files as they were. A picture the
// program cannot take ends the run with the rejection line and status 1; a
// failed file operation with its I/O error number.
void PreparePicture(std::string_view pictureName, const PrepareOutputs& outputs,
                    const PrepareSettings& settings);
