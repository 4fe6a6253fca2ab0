#pragma once
#include <cstdint>

// How a picture of any size is laid on the 320 x 200 screen picture.
enum class FitMode : uint8_t {
  Cover,    // fills the screen; what sticks out is cut off evenly on both sides
  Contain,  // shows all of it; bars of the background fill the rest
  Stretch,  // fills the screen, each axis scaled on its own
};

// One axis of the fit: source pixel u (continuous position, 0 at the left or
// top edge) lands at target position (u - sourceStart) * scale + targetStart.
// Target pixels from targetStart to targetStart + targetLength - 1 show the
// picture; those outside show the background.
struct AxisFit {
  double scale;
  double sourceStart;
  int32_t targetStart;
  int32_t targetLength;
};

struct PictureFit {
  AxisFit across;
  AxisFit down;
};

// The picture is width x height as seen upright; the target is
// targetWidth x targetHeight. Both sizes are at least 1.
PictureFit FitPicture(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight,
                      FitMode mode);
