#include "prepare/ink_palette.h"

#include <algorithm>

#include "match/glyph_table.h"
#include "match/screen_layout.h"
#include "picture/srgb_linear.h"
#include "prepare/colour_space.h"

namespace {

constexpr int MixSteps = 8;
constexpr int CellSide = GlyphRows;  // a cell is one glyph, square

struct Mixes {
  LabColour lab[C64ColourCount][C64ColourCount][MixSteps + 1];  // background, ink, share
};

InkPalette palette;
Mixes mixes;
bool made = false;

void MakePalette() {
  for (int colour = 0; colour < C64ColourCount; ++colour) {
    palette.colours[colour][Red] = LinearOfByte[C64Palette[colour].red];
    palette.colours[colour][Green] = LinearOfByte[C64Palette[colour].green];
    palette.colours[colour][Blue] = LinearOfByte[C64Palette[colour].blue];
  }
  for (int background = 0; background < C64ColourCount; ++background)
    for (int ink = 0; ink < C64ColourCount; ++ink)
      for (int step = 0; step <= MixSteps; ++step) {
        const float share = static_cast<float>(step) / MixSteps;
        float mix[ChannelCount];
        for (int channel = 0; channel < ChannelCount; ++channel)
          mix[channel] = palette.colours[background][channel] +
                         share * (palette.colours[ink][channel] - palette.colours[background][channel]);
        mixes.lab[background][ink][step] = LabOf(mix);
      }
  made = true;
}

float MixDistanceLab(const LabColour& colour, uint8_t background, uint8_t ink) {
  float nearest = 1e30f;
  for (const LabColour& mix : mixes.lab[background][ink])
    nearest = std::min(nearest, LabDistance(mix, colour));
  return nearest;
}

}  // namespace

const InkPalette& TheInkPalette() {
  if (!made) MakePalette();
  return palette;
}

float MixDistance(const float colour[ChannelCount], uint8_t background, uint8_t ink) {
  TheInkPalette();
  return MixDistanceLab(LabOf(colour), background, ink);
}

uint8_t ChooseBackground(const ScreenPicture& picture, uint16_t inks) {
  TheInkPalette();
  static LabColour cells[CellCount];
  for (int cell = 0; cell < CellCount; ++cell) {
    const int left = (cell % CellColumns) * CellSide, top = (cell / CellColumns) * CellSide;
    float mean[ChannelCount] = {};
    for (int channel = 0; channel < ChannelCount; ++channel) {
      for (int j = 0; j < CellSide; ++j)
        for (int i = 0; i < CellSide; ++i)
          mean[channel] += picture.planes[channel][(top + j) * PixelColumns + left + i];
      mean[channel] /= CellSide * CellSide;
    }
    cells[cell] = LabOf(mean);
  }
  uint8_t best = 0;
  float bestCost = 1e30f;
  for (int background = 0; background < C64ColourCount; ++background) {
    float cost = 0;
    for (const LabColour& cell : cells) {
      float nearest = 1e30f;
      for (int ink = 0; ink < C64ColourCount; ++ink)
        if ((inks >> ink & 1) != 0)
          nearest = std::min(nearest, MixDistanceLab(cell, static_cast<uint8_t>(background),
                                                     static_cast<uint8_t>(ink)));
      cost += nearest;
    }
    if (cost < bestCost) best = static_cast<uint8_t>(background), bestCost = cost;
  }
  return best;
}
