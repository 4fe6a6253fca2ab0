#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/picture_decoder.h"
#include "picture/picture_kind.h"

// What every platform's decoder decides the same way, so that the platforms
// differ only in the pixels their libraries produce.

// The largest of the load scales 1, 2, 4 and 8 that keeps the shorter side
// at least leastSide pixels (and at least 1), or 1 when it is shorter
// already. A side shrunk by `shrink` becomes ShrunkSide(side, shrink)
// pixels.
int32_t ChooseLoadShrink(int64_t width, int64_t height, int32_t leastSide);
int64_t ShrunkSide(int64_t side, int32_t shrink);

// Decoded when a picture of this size may be decoded, otherwise NoPixels
// or TooLarge: the limits every kind shares.
DecodeOutcome CheckPictureSize(int64_t width, int64_t height);

// The same for a picture of a kind, by the platform's limit for it too;
// framePixels counts all its frames.
DecodeOutcome CheckPictureSize(PictureKind kind, int64_t width, int64_t height,
                               int64_t framePixels);

// The check before decoding, on what the header states: TooLarge where it
// states a size beyond the kind's limit, else Decoded (also where it states
// none: the decoder's header then tells).
DecodeOutcome CheckStatedPicture(const StatedPicture& stated);

// What every platform's decoder does before it hands the file to its
// library: the kind and size the header states, checked against the kind's
// limit, and a plainly stored BMP read by the program's own reader. True
// when that settled the outcome; `stated` is what the header states either way.
bool DecodeBeforeLibrary(const PictureBytes& file, PictureSink sink, StatedPicture& stated,
                         DecodeOutcome& outcome);

// The words for a picture of a kind: "a GIF", "a progressive JPEG".
const char* PictureKindWords(PictureKind kind);

// A picture file held in memory, read as the decoders read a file.
struct BytesInMemory {
  const uint8_t* bytes;
  size_t size;
};
PictureBytes ReadFromMemory(BytesInMemory& held);

// Decodes a picture file held in memory, as the probes and fuzz targets do.
DecodeOutcome DecodePictureInMemory(const uint8_t* bytes, size_t size, int32_t leastSide,
                                    PictureSink sink);

// The orientation a picture states, or 1 (as stored) for a value outside
// 1 to 8.
PictureOrientation KnownOrientation(int64_t stated);

// The outcome for a picture whose decoder turned its header down: NoPixels
// or TooLarge where a PNG's, BMP's or JPEG's header states such a size (the
// libraries refuse a side of 0, and some a large one, as broken), otherwise
// Damaged. (A GIF's decoders take the first frame's size where the
// screen's is 0.)
DecodeOutcome RefusedPictureOutcome(const PictureBytes& file);

// A pixel with alpha 0 has no colour: it is delivered as 0, 0, 0, 0, so
// that decoders that keep the colour under it and decoders that drop it
// deliver the same rows.
void ClearTransparentPixels(uint8_t* rgba, int32_t width);
