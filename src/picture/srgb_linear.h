#pragma once
#include <array>
#include <cstdint>

// sRGB's transfer function (IEC 61966-2-1) both ways. Pictures arrive as
// 8-bit sRGB; scaling and every choice after it work in linear light,
// because a pattern of pixels mixes into a tone as light does, not as the
// coded values do.
float SrgbToLinear(float coded);
float LinearToSrgb(float linear);

// The 256 coded values of a byte, linear. Built once at start-up.
extern const std::array<float, 256> LinearOfByte;
