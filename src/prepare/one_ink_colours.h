#pragma once
#include <cstdint>

#include "picture/screen_picture.h"

// The background and the ink of a one-ink screen whose colours the user
// left open.
struct OneInkColours {
  uint8_t background;
  uint8_t ink;
};

// Of every pair of palette colours with the ink lighter than the
// background (darker where the dark parts are drawn), the one whose mixes
// best give the picture's blocks their lightness and contrast, less
// colourWeight for each unit of Delta E between a block and its mix. A dark
// picture gets a dark ink, and one in a narrow band of tones colours that
// span it, where white on black would draw its flat parts as texture. The
// pairs are weighed by up to workers threads, with the same choice for any
// number.
OneInkColours ChooseOneInkColours(const ScreenPicture& picture, bool darkInk, float colourWeight,
                                  int workers);
