#pragma once

#include <cmath>

// The float functions of the C libraries on the two platforms differ in the
// last place now and then, and one such difference can tip a near tie
// between two glyphs. Computed in double and rounded to float once, the
// results agree, so the same decoded pixels give the same BMP everywhere.
inline float SamePow(float base, float exponent) {
  return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

inline float SameCbrt(float value) {
  return static_cast<float>(std::cbrt(static_cast<double>(value)));
}

inline float SameExp(float value) {
  return static_cast<float>(std::exp(static_cast<double>(value)));
}
