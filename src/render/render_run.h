#pragma once
#include <cstdint>
#include <string_view>

#include "match/character_sets.h"

// What the image file is to be: the 1-bit BMP, or a PNG in C64 colours
// (colour numbers 0 to 15) with every pixel scale x scale, in one ink, or
// in the inks and background of a colour file; a background given as an
// option overrides the file's.
struct RenderSettings {
  bool png;
  uint8_t scale;
  uint8_t ink;
  uint8_t background;
  bool backgroundGiven;
  bool colourFileGiven;
  std::string_view colourFileName;
  CharacterSet set;
};

// Reads the screen file (see ReadScreenFile) and the colour file where one
// is given (see ReadColourFile), draws it and writes the image file in one
// block. The image file is only created once the whole image is
// drawn, so a rejected or unreadable input leaves an existing image as it
// was. A failed file operation ends the run through CheckIo with its I/O
// error number. Returns after "done.".
void RenderScreenFile(std::string_view screenName, std::string_view imageName,
                      const RenderSettings& settings);
