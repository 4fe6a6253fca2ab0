#pragma once
#include <cstdint>

#include "picture/screen_picture.h"
#include "screens/c64_colours.h"

// The C64's colours in linear light, as the glyph method mixes them.
struct InkPalette {
  float colours[C64ColourCount][ChannelCount];
};

const InkPalette& TheInkPalette();

// How far a colour (linear RGB) is, in CIELAB, from the nearest mix of the
// background and the ink: the ink covering 0, 1/8, ... 1 of a cell.
float MixDistance(const float colour[ChannelCount], uint8_t background, uint8_t ink);

// The background that lets the cells' mean colours come nearest to mixes
// of it and one ink each, over the whole picture; only inks in the set
// (bit n: colour n) count.
uint8_t ChooseBackground(const ScreenPicture& picture, uint16_t inks);
