#pragma once
#include <cstdint>

#include "picture/screen_picture.h"

// Tone settings from -100 to 100, 0 leaving the picture as it is. They work
// on the coded values of each channel, as a picture editor's controls do.
struct ToneSettings {
  int16_t brightness;
  int16_t contrast;
};

void AdjustTone(ScreenPicture& picture, const ToneSettings& tone);

// How much of each screen pixel the characters should cover, 0 to 1, in
// linear light: the picture's luminance, or its complement where the dark
// parts are to be drawn. What the eye sees of a pattern at a distance is the
// mean of its pixels in light, so the threshold and diffusion methods aim
// at these values.
struct CoveragePlane {
  float values[ScreenPicturePixels];
};

void MeasureCoverage(const ScreenPicture& picture, bool darkPartsDrawn, CoveragePlane& coverage);
