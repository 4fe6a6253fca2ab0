#pragma once
#include <cstdint>

// CIE lightness L* (0 to 100) of linear luminance, and its slope, as tables:
// the glyph method compares the screen with the picture in lightness, where
// equal steps look equal, and needs both many times a cell.
inline constexpr int LightnessSteps = 4096;

// The structural similarity's constants for lightness from 0 to 100.
inline constexpr float MeanConstant = 1.0f;      // (0.01 x 100)^2
inline constexpr float VarianceConstant = 9.0f;  // (0.03 x 100)^2

struct LightnessTables {
  float lightness[LightnessSteps + 1];  // of the luminance s / LightnessSteps at step s
  float slope[LightnessSteps + 1];      // d lightness / d luminance there
};

float Lightness(float luminance);

void MakeLightnessTables(LightnessTables& tables);

inline int32_t LightnessStep(float luminance) {
  const float clamped = luminance < 0 ? 0 : (luminance > 1 ? 1 : luminance);
  return static_cast<int32_t>(clamped * LightnessSteps + 0.5f);
}
