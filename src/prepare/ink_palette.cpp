#include "prepare/ink_palette.h"

#include <algorithm>

#include "match/glyph_table.h"
#include "match/screen_layout.h"
#include "picture/srgb_linear.h"
#include "prepare/colour_space.h"

namespace {

constexpr int CellSide = GlyphRows;  // a cell is one glyph, square

struct Mixes {
  InkMixes of[C64ColourCount][C64ColourCount];  // background, ink
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
        mixes.of[background][ink].lab[step] = LabOf(mix);
      }
  made = true;
}

float MixDistanceLab(const LabColour& colour, uint8_t background, uint8_t ink) {
  float nearest = 1e30f;
  for (const LabColour& mix : mixes.of[background][ink].lab)
    nearest = std::min(nearest, LabDistance(mix, colour));
  return nearest;
}

}  // namespace

const InkPalette& TheInkPalette() {
  if (!made) MakePalette();
  return palette;
}

const InkMixes& MixesOf(uint8_t background, uint8_t ink) {
  TheInkPalette();
  return mixes.of[background][ink];
}

float MixDistance(const float colour[ChannelCount], uint8_t background, uint8_t ink) {
  TheInkPalette();
  return MixDistanceLab(LabOf(colour), background, ink);
}

// A cell is judged in parts of Part x Part pixels: fine enough to see
// where a cell holds two colours, coarse enough to be quick.
constexpr int Part = 2;
constexpr int PartsAcross = CellSide / Part;
constexpr int Parts = PartsAcross * PartsAcross;

uint8_t ChooseBackground(const ScreenPicture& picture, uint16_t inks) {
  TheInkPalette();
  // Each part's distance from each colour, before the backgrounds are tried.
  static float distance[CellCount][Parts][C64ColourCount];
  for (int cell = 0; cell < CellCount; ++cell) {
    const int left = (cell % CellColumns) * CellSide, top = (cell / CellColumns) * CellSide;
    for (int part = 0; part < Parts; ++part) {
      const int x = left + (part % PartsAcross) * Part, y = top + (part / PartsAcross) * Part;
      float mean[ChannelCount] = {};
      for (int channel = 0; channel < ChannelCount; ++channel) {
        for (int j = 0; j < Part; ++j)
          for (int i = 0; i < Part; ++i)
            mean[channel] += picture.planes[channel][(y + j) * PixelColumns + x + i];
        mean[channel] /= Part * Part;
      }
      const LabColour lab = LabOf(mean);
      for (int colour = 0; colour < C64ColourCount; ++colour)
        distance[cell][part][colour] = LabDistance(lab, mixes.of[colour][colour].lab[0]);  // pure
    }
  }
  uint8_t best = 0;
  float bestCost = 1e30f;
  for (int background = 0; background < C64ColourCount; ++background) {
    float cost = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
      float nearest = 1e30f;
      for (int ink = 0; ink < C64ColourCount; ++ink) {
        if ((inks >> ink & 1) == 0) continue;
        float sum = 0;
        for (int part = 0; part < Parts; ++part)
          sum += std::min(distance[cell][part][background], distance[cell][part][ink]);
        nearest = std::min(nearest, sum);
      }
      cost += nearest;
    }
    if (cost < bestCost) best = static_cast<uint8_t>(background), bestCost = cost;
  }
  return best;
}
