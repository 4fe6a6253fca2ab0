#pragma once
#include <string_view>

// Reads the screen file (exactly 1000 bytes), draws it and writes the image
// file in one block. The image file is only created once the whole image is
// drawn, so a rejected or unreadable screen leaves an existing image as it
// was. A screen of the wrong size ends the run with status 1, a failed file
// operation through CheckIo with its I/O error number. Returns after "done.".
void RenderScreenFile(std::string_view screenName, std::string_view imageName);
