#pragma once
#include <cstdint>

#include "picture/picture_decoder.h"
#include "picture/picture_fit.h"
#include "picture/screen_picture.h"

// Scales decoded rows, as they stream in, to the screen picture, in linear
// light. Every screen pixel is a weighted mean of the picture pixels around
// its centre: a tent as wide as a screen pixel is in the picture when the
// picture shrinks, one picture pixel wide when it grows. Transparent parts
// are laid over the background first, and the picture is turned upright as
// its orientation says.
struct ResamplingSettings {
  FitMode fit;
  float background[ChannelCount];  // linear light
};

// Readies a resampling into target. The sink it returns feeds it; hand that
// to the decoder. One resampling at a time.
PictureSink StartResampling(const ResamplingSettings& settings, ScreenPicture& target);

// After the decoder is done: whether every row of the picture arrived, and
// the target was then completed (the background laid into the bars).
bool FinishResampling();
