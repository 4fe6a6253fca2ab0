#include "prepare/viewing_blur.h"

#include <algorithm>
#include <cmath>

#include "bmp/pixel_layout.h"
#include "picture/same_rounding_math.h"

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
    kernel.taps[t] = SameExp(-0.5f * offset * offset / (BlurSpread * BlurSpread));
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
  // Across: the taps that fall beyond the edges are left out. Within a row
  // the pixels far enough from both edges need no test.
  static float across[ScreenPicturePixels];
  for (int y = 0; y < Height; ++y) {
    const float* in = plane + y * Width;
    float* out = across + y * Width;
    for (int x = 0; x < Width; ++x) {
      if (x == BlurRadius) {
        for (; x < Width - BlurRadius; ++x) {
          float sum = 0;
          for (int t = 0; t < Taps; ++t) sum += in[x + t - BlurRadius] * kernel.taps[t];
          out[x] = sum;
        }
        if (x == Width) break;
      }
      float sum = 0;
      for (int t = 0; t < Taps; ++t)
        if (x + t - BlurRadius >= 0 && x + t - BlurRadius < Width)
          sum += in[x + t - BlurRadius] * kernel.taps[t];
      out[x] = sum;
    }
  }
  // Down: whole rows at a time.
  std::fill(blurred, blurred + ScreenPicturePixels, 0.0f);
  for (int y = 0; y < Height; ++y)
    for (int t = 0; t < Taps; ++t) {
      const int from = y + t - BlurRadius;
      if (from < 0 || from >= Height) continue;
      const float tap = kernel.taps[t];
      const float* in = across + from * Width;
      float* out = blurred + y * Width;
      for (int x = 0; x < Width; ++x) out[x] += in[x] * tap;
    }
}
