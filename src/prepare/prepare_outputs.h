#pragma once
#include <cstdint>

#include "match/screen_layout.h"
#include "outputs/screen_output.h"
#include "prepare/bit_picture.h"
#include "prepare/prepare_settings.h"
#include "screens/colour_file.h"

inline constexpr int OutputFormatCount = static_cast<int>(OutputFormat::ColourFile) + 1;

// Where each format's bytes start in BuiltOutputs::bytes: the formats one
// after another, each with the room it can need.
constexpr int32_t OutputOffset(int format) {
  int32_t offset = 0;
  for (int before = 0; before < format; ++before)
    offset += OutputCapacity(static_cast<OutputFormat>(before));
  return offset;
}

// Every output of one picture, each format built once however many names
// ask for it; a size of 0 marks a format not asked for.
struct BuiltOutputs {
  uint8_t bytes[OutputOffset(OutputFormatCount)];
  int32_t sizes[OutputFormatCount];
};

// What the preparer made of a picture: the 1-bit picture, the screen codes
// the converter gives it, and the colours of every cell, border and
// background.
struct PreparedScreen {
  BitPicture bits;
  uint8_t codes[CellCount];
  ColourScreen colours;
};

// Builds every output that outputs names from screen into built. Returns
// false when one of them cannot be built: the PNG encoder found no working
// memory.
bool BuildPreparedOutputs(const PrepareOutputs& outputs, const PreparedScreen& screen,
                          const OutputStyle& style, BuiltOutputs& built);

// Writes the outputs, each after its console line, in the order named.
void WritePreparedOutputs(const PrepareOutputs& outputs, const BuiltOutputs& built);
