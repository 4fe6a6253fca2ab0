#pragma once
#include <cstdint>

#include "picture/picture_decoder.h"

// The browser decodes the picture itself (honouring its EXIF orientation)
// and hands the engine its pixels; the web decoder (picture_decoder_web.cpp)
// passes them on as any decoder passes its rows.

// Makes room for a decoded picture of width x height pixels of 8-bit sRGB
// with straight alpha (4 bytes a pixel, rows top to bottom) and points
// pixels at it, for the page to fill. Decoded, or NoPixels or TooLarge by
// this platform's limits; the room is then not made, and the picture held
// before stays, so that the page can go on with it.
DecodeOutcome HoldPicturePixels(int32_t width, int32_t height, uint8_t** pixels);

// The held picture as the decoder reads it: DecodePicture takes these
// bytes, and no others, on this platform.
PictureBytes HeldPictureBytes();
