#pragma once
#include <cstdint>
#include <string_view>

#include "picture/picture_fit.h"
#include "prepare/coverage.h"

// How the pixels of the 1-bit picture are chosen.
enum class PrepareMethod : uint8_t {
  Glyphs,     // cell by cell, the glyph that makes the screen look most like the picture
  Diffuse,    // error diffusion
  Threshold,  // one threshold for the whole picture, from its histogram
};

struct PrepareSettings {
  FitMode fit;
  PrepareMethod method;
  bool darkPartsDrawn;    // the dark parts become the characters' pixels
  bool normalGlyphsOnly;  // only characters 0 to 127, as the converter's dirart mode
  bool allGlyphsAlike;    // text-like glyphs weighed as any other by the glyphs method
  ToneSettings tone;
  std::string_view coloursName;  // where the cells' inks go; empty: a screen in one ink
  int16_t background;            // the screen's background colour, or NoColourGiven
};

inline constexpr int16_t NoColourGiven = -1;

inline constexpr PrepareSettings DefaultPrepareSettings = {
    FitMode::Cover, PrepareMethod::Glyphs, false, false, false, {0, 0}, {}, NoColourGiven};
