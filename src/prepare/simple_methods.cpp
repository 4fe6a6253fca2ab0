#include "prepare/simple_methods.h"

#include <cmath>
#include <cstring>

#include "picture/srgb_linear.h"

namespace {

constexpr int Width = PixelColumns;
constexpr int Levels = 256;

// The histogram is taken over coded values of the light, where the steps
// follow what the eye tells apart, whichever parts are drawn.
int CodedLevel(float light) {
  const int level = static_cast<int>(std::lround(LinearToSrgb(light) * (Levels - 1)));
  return level < 0 ? 0 : (level >= Levels ? Levels - 1 : level);
}

// The level below which pixels stay clear. A picture of one tone has no
// split; it is then compared with the middle, so that a white page is set
// and a black one clear.
int SplitLevel(const CoveragePlane& coverage, bool darkPartsDrawn) {
  int64_t counts[Levels] = {};
  for (float value : coverage.values) ++counts[CodedLevel(darkPartsDrawn ? 1 - value : value)];
  double total = 0;
  for (int level = 0; level < Levels; ++level) total += static_cast<double>(counts[level]) * level;
  double below = 0, belowSum = 0, best = -1;
  int split = Levels / 2;
  for (int level = 1; level < Levels; ++level) {
    below += static_cast<double>(counts[level - 1]);
    belowSum += static_cast<double>(counts[level - 1]) * (level - 1);
    const double above = ScreenPicturePixels - below;
    if (below == 0 || above == 0) continue;
    const double difference = belowSum / below - (total - belowSum) / above;
    const double between = below * above * difference * difference;
    if (between > best) best = between, split = level;
  }
  return split;
}

}  // namespace

void ThresholdPicture(const CoveragePlane& coverage, bool darkPartsDrawn, BitPicture& picture) {
  std::memset(picture.rows, 0, sizeof picture.rows);
  const int split = SplitLevel(coverage, darkPartsDrawn);
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    const float value = coverage.values[at];
    const bool light = CodedLevel(darkPartsDrawn ? 1 - value : value) >= split;
    if (light != darkPartsDrawn) SetPixel(picture, at % Width, at / Width);
  }
}

void DiffusePicture(const CoveragePlane& coverage, BitPicture& picture) {
  std::memset(picture.rows, 0, sizeof picture.rows);
  // Two rows of what is still owed: this one and the next, with a pixel of
  // room at each end so that the weights never need a bounds test.
  static float owed[2][Width + 2];
  std::memset(owed, 0, sizeof owed);
  for (int y = 0; y < PixelRows; ++y) {
    float* here = owed[y % 2] + 1;
    float* next = owed[(y + 1) % 2] + 1;
    std::memset(next - 1, 0, sizeof owed[0]);
    const bool leftward = y % 2 == 1;
    const int step = leftward ? -1 : 1;
    for (int i = 0; i < Width; ++i) {
      const int x = leftward ? Width - 1 - i : i;
      const float wanted = coverage.values[y * Width + x] + here[x];
      const float shown = wanted >= 0.5f ? 1.0f : 0.0f;
      if (shown > 0) SetPixel(picture, x, y);
      const float error = wanted - shown;
      here[x + step] += error * 7 / 16;
      next[x - step] += error * 3 / 16;
      next[x] += error * 5 / 16;
      next[x + step] += error * 1 / 16;
    }
  }
}
