#include "picture/srgb_linear.h"

#include <cmath>

#include "picture/same_rounding_math.h"

float SrgbToLinear(float coded) {
  return coded <= 0.04045f ? coded / 12.92f : SamePow((coded + 0.055f) / 1.055f, 2.4f);
}

float LinearToSrgb(float linear) {
  return linear <= 0.0031308f ? linear * 12.92f : 1.055f * SamePow(linear, 1.0f / 2.4f) - 0.055f;
}

namespace {

std::array<float, 256> BuildLinearOfByte() {
  std::array<float, 256> table{};
  for (int value = 0; value < 256; ++value) table[value] = SrgbToLinear(value / 255.0f);
  return table;
}

}  // namespace

const std::array<float, 256> LinearOfByte = BuildLinearOfByte();
