#include "picture/picture_fit.h"

#include <algorithm>
#include <cmath>

namespace {

// The axis shows the whole source, scaled to length target pixels centred
// in a target of targetSize.
AxisFit Whole(int32_t source, int32_t length, int32_t targetSize) {
  return {static_cast<double>(length) / source, 0.0, (targetSize - length) / 2, length};
}

// The axis fills the whole target at the given scale; the source is cut
// evenly on both sides where it sticks out.
AxisFit Filled(int32_t source, double scale, int32_t targetSize) {
  return {scale, (source - targetSize / scale) / 2.0, 0, targetSize};
}

// The scaled length, at least one pixel, so that a picture 1 pixel high
// still shows as a line.
int32_t ScaledLength(int32_t source, double scale, int32_t targetSize) {
  const auto length = static_cast<int32_t>(std::lround(source * scale));
  return std::clamp(length, int32_t{1}, targetSize);
}

}  // namespace

PictureFit FitPicture(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight,
                      FitMode mode) {
  const double scaleAcross = static_cast<double>(targetWidth) / width;
  const double scaleDown = static_cast<double>(targetHeight) / height;
  switch (mode) {
    case FitMode::Cover: {
      const double scale = std::max(scaleAcross, scaleDown);
      return {Filled(width, scale, targetWidth), Filled(height, scale, targetHeight)};
    }
    case FitMode::Contain: {
      const double scale = std::min(scaleAcross, scaleDown);
      return {Whole(width, ScaledLength(width, scale, targetWidth), targetWidth),
              Whole(height, ScaledLength(height, scale, targetHeight), targetHeight)};
    }
    case FitMode::Stretch:
      break;
  }
  return {Whole(width, targetWidth, targetWidth), Whole(height, targetHeight, targetHeight)};
}
