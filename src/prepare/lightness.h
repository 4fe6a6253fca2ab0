#pragma once
#include <cstdint>

// CIE lightness L* (0 to 100) of linear luminance, and its slope, as tables
// over coverage: the glyph method compares the screen with the picture in
// lightness, where equal steps look equal, and needs both many times a cell.
inline constexpr int LightnessSteps = 4096;

struct LightnessTables {
  float lightness[LightnessSteps + 1];  // of the coverage at step s / LightnessSteps
  float slope[LightnessSteps + 1];      // d lightness / d coverage there
};

float Lightness(float luminance);

// darkPartsDrawn: coverage c shows as luminance 1 - c, not c.
void MakeLightnessTables(bool darkPartsDrawn, LightnessTables& tables);

inline int32_t LightnessStep(float coverage) {
  const float clamped = coverage < 0 ? 0 : (coverage > 1 ? 1 : coverage);
  return static_cast<int32_t>(clamped * LightnessSteps + 0.5f);
}
