#include "prepare/lightness.h"

#include <algorithm>
#include <cmath>

#include "picture/same_rounding_math.h"

namespace {

// Below this luminance L* is a straight line (CIE 1976).
constexpr float LinearPart = 216.0f / 24389.0f;
constexpr float LinearSlope = 24389.0f / 27.0f;

float LightnessSlope(float luminance) {
  return luminance > LinearPart ? 116.0f / 3.0f / SameCbrt(luminance * luminance) : LinearSlope;
}

}  // namespace

float Lightness(float luminance) {
  return luminance > LinearPart ? 116.0f * SameCbrt(luminance) - 16.0f : LinearSlope * luminance;
}

void MakeLightnessTables(LightnessTables& tables) {
  for (int step = 0; step <= LightnessSteps; ++step) {
    const float luminance = static_cast<float>(step) / LightnessSteps;
    tables.lightness[step] = Lightness(luminance);
    tables.slope[step] = LightnessSlope(luminance);
  }
}
