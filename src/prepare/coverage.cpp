#include "prepare/coverage.h"

#include <algorithm>

#include "picture/srgb_linear.h"

namespace {

float AdjustTone(float linear, const ToneSettings& tone) {
  float coded = LinearToSrgb(linear);
  coded = (coded - 0.5f) * (1.0f + tone.contrast / 100.0f) + 0.5f + tone.brightness / 100.0f;
  return SrgbToLinear(std::clamp(coded, 0.0f, 1.0f));
}

}  // namespace

void MeasureCoverage(const ScreenPicture& picture, bool darkPartsDrawn, const ToneSettings& tone,
                     CoveragePlane& coverage) {
  const bool toned = tone.brightness != 0 || tone.contrast != 0;
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    float light = Luminance(picture.planes[Red][at], picture.planes[Green][at],
                            picture.planes[Blue][at]);
    light = std::clamp(light, 0.0f, 1.0f);
    if (toned) light = AdjustTone(light, tone);
    coverage.values[at] = darkPartsDrawn ? 1.0f - light : light;
  }
}
