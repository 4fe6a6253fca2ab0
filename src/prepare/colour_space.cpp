#include "prepare/colour_space.h"

#include <cmath>

#include "picture/same_rounding_math.h"

namespace {

// Linear sRGB to XYZ, each row divided by the white's, so that white is
// 1, 1, 1.
constexpr float ToXyz[ChannelCount][ChannelCount] = {
    {0.4124f / 0.9505f, 0.3576f / 0.9505f, 0.1805f / 0.9505f},
    {0.2126f, 0.7152f, 0.0722f},
    {0.0193f / 1.0890f, 0.1192f / 1.0890f, 0.9505f / 1.0890f},
};

// Below this the CIE function is a straight line.
constexpr float Knee = 216.0f / 24389.0f;
constexpr float LineSlope = 24389.0f / 27.0f / 116.0f;

float Curve(float t) { return t > Knee ? SameCbrt(t) : LineSlope * t + 16.0f / 116.0f; }

float CurveSlope(float t) { return t > Knee ? 1.0f / (3.0f * SameCbrt(t * t)) : LineSlope; }

void ToXyzOf(const float linear[ChannelCount], float xyz[ChannelCount]) {
  for (int row = 0; row < ChannelCount; ++row) {
    xyz[row] = 0;
    for (int channel = 0; channel < ChannelCount; ++channel)
      xyz[row] += ToXyz[row][channel] * linear[channel];
  }
}

// L*, a* and b* from the curve's values for X, Y and Z.
constexpr float FromCurves[ChannelCount][ChannelCount] = {
    {0, 116, 0}, {500, -500, 0}, {0, 200, -200}};

}  // namespace

LabColour LabOf(const float linear[ChannelCount]) {
  float xyz[ChannelCount];
  ToXyzOf(linear, xyz);
  const float fx = Curve(xyz[0]), fy = Curve(xyz[1]), fz = Curve(xyz[2]);
  return {{116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)}};
}

void LabSlope(const float linear[ChannelCount], float slope[ChannelCount][ChannelCount]) {
  float xyz[ChannelCount];
  ToXyzOf(linear, xyz);
  for (int lab = 0; lab < ChannelCount; ++lab)
    for (int channel = 0; channel < ChannelCount; ++channel) {
      slope[lab][channel] = 0;
      for (int axis = 0; axis < ChannelCount; ++axis)
        slope[lab][channel] += FromCurves[lab][axis] * CurveSlope(xyz[axis]) * ToXyz[axis][channel];
    }
}

float LabDistance(const LabColour& a, const LabColour& b) {
  float sum = 0;
  for (int i = 0; i < ChannelCount; ++i) sum += (a.values[i] - b.values[i]) * (a.values[i] - b.values[i]);
  return std::sqrt(sum);
}
