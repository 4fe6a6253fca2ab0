#include "prepare/one_ink_colours.h"

#include <algorithm>
#include <cmath>

#include "prepare/colour_space.h"
#include "prepare/ink_palette.h"
#include "prepare/lightness.h"
#include "runtime/workers_platform.h"

namespace {

// The picture is judged cell by cell, with the constants the glyph method
// judges likeness by, for lightness 0 to 100. Blocks of 4 x 4 pixels chose
// as well, at four times the work.
constexpr int Block = 8;
constexpr int BlocksAcross = PixelColumns / Block;
constexpr int BlockCount = BlocksAcross * (PixelRows / Block);

// A block drawn as a mix of the two colours shows texture: a spread in
// lightness, seen from afar, of this share of the pair's difference at an
// even mix, less towards either colour. Chosen on pictures of every kind:
// 0.07 and 0.15 drew them no more alike, and without it (mixes as flat as
// solid colours) pairs too far apart won and drew flat areas as texture.
constexpr float TextureShare = 0.1f;

struct BlockLook {
  LabColour mean;  // of the block's mean colour, in linear light
  float spread;    // the standard deviation of lightness in the block
};

LightnessTables lightnessTables;

BlockLook LookAt(const ScreenPicture& picture, int left, int top) {
  float mean[ChannelCount] = {};
  float sum = 0, squares = 0;
  for (int y = top; y < top + Block; ++y)
    for (int x = left; x < left + Block; ++x) {
      const int at = y * PixelColumns + x;
      for (int channel = 0; channel < ChannelCount; ++channel)
        mean[channel] += picture.planes[channel][at] / (Block * Block);
      const float lightness = lightnessTables.lightness[LightnessStep(Luminance(
          picture.planes[Red][at], picture.planes[Green][at], picture.planes[Blue][at]))];
      sum += lightness;
      squares += lightness * lightness;
    }
  const float average = sum / (Block * Block);
  return {LabOf(mean), std::sqrt(std::max(0.0f, squares / (Block * Block) - average * average))};
}

// What a pair of colours can show: the lightness of each mix, and the
// spread its texture adds there.
struct PairLook {
  float shown[MixSteps + 1];
  float textureSquared[MixSteps + 1];
};

PairLook LookAtPair(const InkMixes& mixes, float range) {
  PairLook pair;
  for (int step = 0; step <= MixSteps; ++step) {
    const float share = static_cast<float>(step) / MixSteps;
    const float texture = TextureShare * range * 2 * std::sqrt(share * (1 - share));
    pair.shown[step] = mixes.lab[step].values[0];
    pair.textureSquared[step] = texture * texture;
  }
  return pair;
}

BlockLook blocks[BlockCount];
uint8_t blockSteps[BlockCount * C64ColourCount];  // each block's mix, a slice a worker
float blockLikeness[BlockCount * C64ColourCount];

// The block's likeness in lightness at its nearest mix: the means' term of
// the structural similarity, times the contrast the pair can draw against
// the block's own, with the mix's texture as noise. The mixes' lightness
// runs one way, so the mixes come nearer up to the nearest and never after:
// the nearest is the number of steps that come nearer, counted without
// branches the processor would mispredict.
float LightnessLikeness(const BlockLook& block, const PairLook& pair, float range, int& step) {
  const float wanted = block.mean.values[0];
  step = 0;
  for (int s = 1; s <= MixSteps; ++s)
    step += std::fabs(pair.shown[s] - wanted) < std::fabs(pair.shown[s - 1] - wanted);
  const float shown = pair.shown[step];
  const float drawn = std::min(block.spread, range / 2);
  const float means =
      (2 * wanted * shown + MeanConstant) / (wanted * wanted + shown * shown + MeanConstant);
  const float contrast = (2 * block.spread * drawn + VarianceConstant) /
                         (block.spread * block.spread + drawn * drawn +
                          pair.textureSquared[step] + VarianceConstant);
  return means * contrast;
}

// A sum of BlockCount terms in float is off by far less than this: a pair
// this far below the best in lightness alone cannot win once colour counts.
constexpr float SumSlack = 1.0f;
constexpr int CheckEvery = 100;  // blocks between looks at whether a pair can still win

struct Choice {
  bool darkInk;
  float colourWeight;
  int workers;
  float likeness[C64ColourCount * C64ColourCount];  // background x ink; lowest where not tried
};

// Weighs the pairs whose index is part modulo the workers.
void WeighPairs(int part, void* context) {
  Choice& choice = *static_cast<Choice*>(context);
  uint8_t* steps = blockSteps + part * BlockCount;
  float* likeness = blockLikeness + part * BlockCount;
  float best = -1e30f;
  for (int index = part; index < C64ColourCount * C64ColourCount; index += choice.workers) {
    choice.likeness[index] = -1e30f;
    const int background = index / C64ColourCount, ink = index % C64ColourCount;
    const InkMixes& mixes = MixesOf(static_cast<uint8_t>(background), static_cast<uint8_t>(ink));
    const float range = mixes.lab[MixSteps].values[0] - mixes.lab[0].values[0];
    if (choice.darkInk ? range >= 0 : range <= 0) continue;
    const PairLook pair = LookAtPair(mixes, std::fabs(range));
    // Each block's likeness in lightness is at most 1: a pair is given up
    // once even 1 for every block left could not bring it to the best.
    float bound = 0;
    bool hopeless = false;
    for (int block = 0; block < BlockCount && !hopeless; ++block) {
      int step;
      likeness[block] = LightnessLikeness(blocks[block], pair, std::fabs(range), step);
      steps[block] = static_cast<uint8_t>(step);
      bound += likeness[block];
      if (block % CheckEvery == CheckEvery - 1)
        hopeless = bound + static_cast<float>(BlockCount - 1 - block) + SumSlack < best;
    }
    if (hopeless || bound + SumSlack < best) continue;
    float total = 0;
    for (int block = 0; block < BlockCount; ++block)
      total += likeness[block] -
               choice.colourWeight * LabDistance(blocks[block].mean, mixes.lab[steps[block]]);
    choice.likeness[index] = total;
    best = std::max(best, total);
  }
}

}  // namespace

OneInkColours ChooseOneInkColours(const ScreenPicture& picture, bool darkInk, float colourWeight,
                                  int workers) {
  MakeLightnessTables(lightnessTables);
  for (int block = 0; block < BlockCount; ++block)
    blocks[block] = LookAt(picture, (block % BlocksAcross) * Block, (block / BlocksAcross) * Block);
  static Choice choice;
  choice.darkInk = darkInk;
  choice.colourWeight = colourWeight;
  choice.workers = std::clamp(workers, 1, C64ColourCount);
  PlatformRunTogether(choice.workers, WeighPairs, &choice);
  // White on black (black on white) unless a pair does better; the first
  // best pair in order wins, so the choice is the same for any number of
  // workers and on every platform.
  OneInkColours best = darkInk ? OneInkColours{1, 0} : OneInkColours{0, 1};
  float bestLikeness = -1e30f;
  for (int index = 0; index < C64ColourCount * C64ColourCount; ++index)
    if (choice.likeness[index] > bestLikeness) {
      best = {static_cast<uint8_t>(index / C64ColourCount),
              static_cast<uint8_t>(index % C64ColourCount)};
      bestLikeness = choice.likeness[index];
    }
  return best;
}
