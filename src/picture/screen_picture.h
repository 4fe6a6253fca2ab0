#pragma once
#include "bmp/pixel_layout.h"

// The picture as the screen will show it: 320 x 200 pixels of linear light,
// 0 to 1 a channel, one plane a channel, rows top first.
inline constexpr int ScreenPicturePixels = PixelColumns * PixelRows;

enum Channel { Red, Green, Blue, ChannelCount };

struct ScreenPicture {
  float planes[ChannelCount][ScreenPicturePixels];
};

// Light as the eye weighs it (Rec. 709 primaries, as sRGB's), linear.
inline float Luminance(float red, float green, float blue) {
  return 0.2126f * red + 0.7152f * green + 0.0722f * blue;
}
