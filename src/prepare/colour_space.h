#pragma once
#include "picture/screen_picture.h"

// CIELAB (D65 white, sRGB primaries) of a linear RGB colour, and how it
// changes with each linear channel there: the colour difference the eye
// sees (Delta E) is a distance in Lab.
struct LabColour {
  float values[ChannelCount];  // L*, a*, b*
};

LabColour LabOf(const float linear[ChannelCount]);

// slope[lab][channel]: the change of Lab value lab per unit of channel.
void LabSlope(const float linear[ChannelCount], float slope[ChannelCount][ChannelCount]);

float LabDistance(const LabColour& a, const LabColour& b);
