#include "prepare/viewing_blur.h"

#include <algorithm>
#include <cmath>

#include "bmp/pixel_layout.h"

namespace {

constexpr int Taps = 2 * BlurRadius + 1;

struct Kernel {
  float taps[Taps];
};

Kernel MakeKernel() {
  Kernel kernel{};
  float sum = 0;
  for (int t = 0; t < Taps; ++t) {
    const float offset = static_cast<float>(t - BlurRadius);
    kernel.taps[t] = std::exp(-0.5f * offset * offset / (BlurSpread * BlurSpread));
    sum += kernel.taps[t];
  }
  for (float& tap : kernel.taps) tap /= sum;
  return kernel;
}

const Kernel kernel = MakeKernel();

constexpr int Width = PixelColumns;
constexpr int Height = PixelRows;

}  // namespace

void BlurCell(const float cell[GlyphRows * GlyphRows], float stamp[StampPixels]) {
  float across[GlyphRows][StampSpan] = {};
  for (int j = 0; j < GlyphRows; ++j)
    for (int i = 0; i < GlyphRows; ++i)
      for (int t = 0; t < Taps; ++t) across[j][i + t + StampMargin - BlurRadius] += cell[j * GlyphRows + i] * kernel.taps[t];
  std::fill(stamp, stamp + StampPixels, 0.0f);
  for (int j = 0; j < GlyphRows; ++j)
    for (int t = 0; t < Taps; ++t)
      for (int i = 0; i < StampSpan; ++i) stamp[(j + t + StampMargin - BlurRadius) * StampSpan + i] += across[j][i] * kernel.taps[t];
}

void BlurPlane(const float plane[ScreenPicturePixels], float blurred[ScreenPicturePixels]) {
  static float across[ScreenPicturePixels];
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      float sum = 0;
      for (int t = std::max(0, BlurRadius - x); t < Taps && x + t - BlurRadius < Width; ++t)
        sum += plane[y * Width + x + t - BlurRadius] * kernel.taps[t];
      across[y * Width + x] = sum;
    }
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      float sum = 0;
      for (int t = std::max(0, BlurRadius - y); t < Taps && y + t - BlurRadius < Height; ++t)
        sum += across[(y + t - BlurRadius) * Width + x] * kernel.taps[t];
      blurred[y * Width + x] = sum;
    }
}
