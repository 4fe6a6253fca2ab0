#pragma once
#include <cstdint>

#include "picture/screen_picture.h"
#include "prepare/colour_space.h"
#include "screens/c64_colours.h"

// The C64's colours in linear light, as the glyph method mixes them.
struct InkPalette {
  float colours[C64ColourCount][ChannelCount];
};

const InkPalette& TheInkPalette();

// A background and an ink mixed, with the ink covering 0, 1/8, ... 1 of a
// cell: the tones a screen of the two shows from afar.
inline constexpr int MixSteps = 8;
struct InkMixes {
  LabColour lab[MixSteps + 1];
};

const InkMixes& MixesOf(uint8_t background, uint8_t ink);

// How far a colour (linear RGB) is, in CIELAB, from the nearest mix of the
// background and the ink: the ink covering 0, 1/8, ... 1 of a cell.
float MixDistance(const float colour[ChannelCount], uint8_t background, uint8_t ink);

// The background with which the picture's cells come nearest to being
// drawn in it and one ink each: every part of a cell in the nearer of the
// two, summed in Delta E over the whole picture with each cell's best ink.
// Only inks in the set (bit n: colour n) count. Judged by cell means
// alone, as mixes, a background won that left flat areas as checkers of
// two far colours.
uint8_t ChooseBackground(const ScreenPicture& picture, uint16_t inks);
int RankBackgroundsByMeans(const ScreenPicture& picture, uint16_t inks, uint8_t ranked[C64ColourCount]);
