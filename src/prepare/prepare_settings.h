#pragma once
#include <cstdint>
#include <string_view>

#include "outputs/output_formats.h"
#include "outputs/screen_output.h"
#include "picture/picture_fit.h"
#include "prepare/coverage.h"

// How the pixels of the 1-bit picture are chosen.
enum class PrepareMethod : uint8_t {
  Glyphs,     // cell by cell, the glyph that makes the screen look most like the picture
  Diffuse,    // error diffusion
  Threshold,  // one threshold for the whole picture, from its histogram
};

// The files one run writes, each in the format its extension names.
inline constexpr int MostOutputs = 16;
struct PrepareOutputs {
  std::string_view names[MostOutputs];
  OutputFormat formats[MostOutputs];
  int count;
};

struct PrepareSettings {
  FitMode fit;
  PrepareMethod method;
  bool darkPartsDrawn;    // the dark parts become the characters' pixels
  bool normalGlyphsOnly;  // only characters 0 to 127, as the converter's dirart mode
  bool allGlyphsAlike;    // text-like glyphs weighed as any other by the glyphs method
  ToneSettings tone;
  bool colour;                   // every cell gets its ink (--colour, or --colours)
  std::string_view coloursName;  // where the colour file goes besides the outputs; may be empty
  int16_t background;            // the screen's background colour, or NoColourGiven
  int16_t ink;                   // one ink: the outputs' ink, or NoColourGiven
  int16_t border;                // the outputs' border colour, or NoColourGiven
  OutputStyle style;             // assembler dialect, PNG scale
};

inline constexpr int16_t NoColourGiven = -1;

inline constexpr PrepareSettings DefaultPrepareSettings = {
    FitMode::Cover, PrepareMethod::Glyphs, false, false, false, {0, 0}, false, {}, NoColourGiven,
    NoColourGiven, NoColourGiven, {AsmDialect::DotByte, false, DefaultScale, CharacterSet::Upper}};
