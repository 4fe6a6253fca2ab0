#include "prepare/coverage.h"

#include <algorithm>

#include "picture/srgb_linear.h"

void AdjustTone(ScreenPicture& picture, const ToneSettings& tone) {
  if (tone.brightness == 0 && tone.contrast == 0) return;
  const float gain = 1.0f + tone.contrast / 100.0f;
  const float lift = tone.brightness / 100.0f;
  for (auto& plane : picture.planes)
    for (float& value : plane) {
      const float coded = (LinearToSrgb(value) - 0.5f) * gain + 0.5f + lift;
      value = SrgbToLinear(std::clamp(coded, 0.0f, 1.0f));
    }
}

void MeasureCoverage(const ScreenPicture& picture, bool darkPartsDrawn, CoveragePlane& coverage) {
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    const float light = std::clamp(
        Luminance(picture.planes[Red][at], picture.planes[Green][at], picture.planes[Blue][at]),
        0.0f, 1.0f);
    coverage.values[at] = darkPartsDrawn ? 1.0f - light : light;
  }
}
