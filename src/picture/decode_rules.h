#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/picture_decoder.h"

// What every platform's decoder decides the same way, so that the platforms
// differ only in the pixels their libraries produce.

// The largest of the load scales 1, 2, 4 and 8 that keeps the shorter side
// at least leastSide pixels (and at least 1), or 1 when it is shorter
// already. A side shrunk by `shrink` becomes ShrunkSide(side, shrink)
// pixels.
int32_t ChooseLoadShrink(int64_t width, int64_t height, int32_t leastSide);
int64_t ShrunkSide(int64_t side, int32_t shrink);

// Decoded when a picture of this size may be decoded, otherwise NoPixels
// or TooLarge.
DecodeOutcome CheckPictureSize(int64_t width, int64_t height);

// The orientation a picture states, or 1 (as stored) for a value outside
// 1 to 8.
PictureOrientation KnownOrientation(int64_t stated);

// The outcome for a picture whose decoder turned its header down: NoPixels
// or TooLarge where a PNG's, BMP's or JPEG's header states such a size (the
// libraries refuse a side of 0, and some a large one, as broken), otherwise
// Damaged. (A GIF's decoders take the first frame's size where the
// screen's is 0.)
DecodeOutcome RefusedPictureOutcome(const uint8_t* bytes, size_t size);

// A pixel with alpha 0 has no colour: it is delivered as 0, 0, 0, 0, so
// that decoders that keep the colour under it and decoders that drop it
// deliver the same rows.
void ClearTransparentPixels(uint8_t* rgba, int32_t width);
