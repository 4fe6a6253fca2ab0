#pragma once
#include "picture/picture_decoder.h"
#include "prepare/prepare_outputs.h"
#include "prepare/prepare_settings.h"

// The preparer's work between the decoder and the outputs, the same for a
// picture read from a file and for one the browser decoded: the rows laid
// on the screen, then the pixels, screen codes and colours chosen. One
// picture at a time; the screen picture is held here between the two.

// JPEG pictures shrink on load while their shorter side keeps at least this
// many pixels: twice the screen's height, so that scaling still has a few
// picture pixels for every screen pixel.
inline constexpr int32_t LeastDecodedSide = 2 * PixelRows;

// Readies the screen picture for a picture with these settings (its fit,
// and the paper its transparent parts show) and returns the sink the
// decoder's rows go to.
PictureSink StartLayingPicture(const PrepareSettings& settings);

// After the decoder is done: whether every row arrived and the screen
// picture is complete.
bool FinishLayingPicture();

// Chooses the pixels of the screen picture laid, gives them the
// converter's screen codes and their colours, into screen.
void ChooseScreen(const PrepareSettings& settings, PreparedScreen& screen);
