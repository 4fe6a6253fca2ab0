#include "prepare/viewing_blur.h"

#include <algorithm>
#include <cmath>

#include "bmp/pixel_layout.h"
#include "picture/same_rounding_math.h"

namespace {

constexpr int MostTaps = 2 * StampMargin + 1;

struct Kernel {
  float taps[MostTaps];
  int count;  // 2 x radius + 1
};

Kernel MakeKernel(const ViewingBlur& blur) {
  Kernel kernel{};
  kernel.count = 2 * blur.radius + 1;
  float sum = 0;
  for (int t = 0; t < kernel.count; ++t) {
    const float offset = static_cast<float>(t - blur.radius);
    kernel.taps[t] = SameExp(-0.5f * offset * offset / (blur.spread * blur.spread));
    sum += kernel.taps[t];
  }
  for (int t = 0; t < kernel.count; ++t) kernel.taps[t] /= sum;
  return kernel;
}

const Kernel kernels[] = {MakeKernel(ViewingBlurs[0]), MakeKernel(ViewingBlurs[1])};
ViewingDistance chosenDistance = ViewingDistance::Near;

constexpr int Width = PixelColumns;
constexpr int Height = PixelRows;

}  // namespace

void UseViewingDistance(ViewingDistance distance) { chosenDistance = distance; }

ViewingDistance TheViewingDistance() { return chosenDistance; }

const ViewingBlur& TheViewingBlur() { return ViewingBlurs[static_cast<int>(chosenDistance)]; }

void BlurCell(const float cell[GlyphRows * GlyphRows], float stamp[StampPixels]) {
  const Kernel& kernel = kernels[static_cast<int>(chosenDistance)];
  const int taps = kernel.count, radius = taps / 2;
  float across[GlyphRows][StampSpan] = {};
  for (int j = 0; j < GlyphRows; ++j)
    for (int i = 0; i < GlyphRows; ++i)
      for (int t = 0; t < taps; ++t)
        across[j][i + t + StampMargin - radius] += cell[j * GlyphRows + i] * kernel.taps[t];
  std::fill(stamp, stamp + StampPixels, 0.0f);
  for (int j = 0; j < GlyphRows; ++j)
    for (int t = 0; t < taps; ++t)
      for (int i = 0; i < StampSpan; ++i)
        stamp[(j + t + StampMargin - radius) * StampSpan + i] += across[j][i] * kernel.taps[t];
}

void BlurPlane(const float plane[ScreenPicturePixels], float blurred[ScreenPicturePixels]) {
  // Across: the taps that fall beyond the edges are left out. Within a row
  // the pixels far enough from both edges need no test.
  const Kernel& kernel = kernels[static_cast<int>(chosenDistance)];
  const int taps = kernel.count, radius = taps / 2;
  static float across[ScreenPicturePixels];
  for (int y = 0; y < Height; ++y) {
    const float* in = plane + y * Width;
    float* out = across + y * Width;
    for (int x = 0; x < Width; ++x) {
      if (x == radius) {
        for (; x < Width - radius; ++x) {
          float sum = 0;
          for (int t = 0; t < taps; ++t) sum += in[x + t - radius] * kernel.taps[t];
          out[x] = sum;
        }
        if (x == Width) break;
      }
      float sum = 0;
      for (int t = 0; t < taps; ++t)
        if (x + t - radius >= 0 && x + t - radius < Width)
          sum += in[x + t - radius] * kernel.taps[t];
      out[x] = sum;
    }
  }
  // Down: whole rows at a time.
  std::fill(blurred, blurred + ScreenPicturePixels, 0.0f);
  for (int y = 0; y < Height; ++y)
    for (int t = 0; t < taps; ++t) {
      const int from = y + t - radius;
      if (from < 0 || from >= Height) continue;
      const float tap = kernel.taps[t];
      const float* in = across + from * Width;
      float* out = blurred + y * Width;
      for (int x = 0; x < Width; ++x) out[x] += in[x] * tap;
    }
}
