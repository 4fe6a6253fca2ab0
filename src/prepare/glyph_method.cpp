#include "prepare/glyph_method.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "picture/srgb_linear.h"
#include "prepare/colour_space.h"
#include "prepare/coverage.h"
#include "prepare/glyph_likeness.h"
#include "prepare/glyph_stamps.h"
#include "prepare/ink_palette.h"
#include "prepare/lightness.h"
#include "prepare/simple_methods.h"
#include "prepare/text_like_glyphs.h"
#include "runtime/workers_platform.h"
#include "screens/c64_colours.h"

namespace {

constexpr int Width = PixelColumns;
constexpr int Height = PixelRows;

// At most this many sweeps over the screen; a sweep visits only the cells
// whose surroundings changed since their last choice.
constexpr int MostSweeps = 3;

// A cell's first choice weighs every glyph in each ink it tries; later
// choices weigh only the Finalists best of that first one. After the first
// sweep the neighbours change what a cell should show only a little, and
// its best choice stays among them. Fewer than 32 lose likeness on sharp
// drawings such as logos, where a neighbour's change can lift a glyph from
// far down the first order.
constexpr int Finalists = 32;

// What a text-like glyph costs, in the units of the likeness: a sum over
// the cell's square of StampBlocks block similarities, each at most 1. It
// is chosen only where it is this much more alike than any other glyph.
constexpr float TextLikeCost = 1.0f;

// A cell tries at most this many inks: those whose mixes with the
// background come nearest the cell's mean colour.
constexpr int MostInksTried = 4;

// Rows of cells are chosen by up to this many threads at once.
constexpr int MostWorkers = 8;
int workerLimit = MostWorkers;

struct Screen {
  float target[ChannelCount][ScreenPicturePixels];  // the picture, blurred
  float targetLightness[ScreenPicturePixels];
  float sharpLightness[ScreenPicturePixels];      // the picture's lightness, unblurred
  LabColour sharpLab[ScreenPicturePixels];        // the picture's colour, unblurred
  float shown[ChannelCount][ScreenPicturePixels];   // the screen, blurred
  float cellStamp[CellCount][ChannelCount][StampPixels];  // what each cell adds to shown, block order
  float cellColour[CellCount][ChannelCount];        // each cell's mean colour in the picture
  uint8_t codes[CellCount];
  uint8_t inks[CellCount];
  // Its surroundings changed since it was last chosen. Threads choosing
  // neighbouring rows may mark the same cell at once.
  std::atomic<bool> dirty[CellCount];
  bool weighed[CellCount];  // its finalists are known
  struct {
    uint8_t glyph;
    uint8_t ink;
  } finalists[CellCount][Finalists];
};

Screen screen;
LightnessTables tables;
float glyphCost[GlyphCount];  // taken from each glyph's likeness before choices are compared
const float (*palette)[ChannelCount] = nullptr;  // linear RGB, by colour number
float cellBlur[StampPixels];                  // a whole cell blurred, block order

float LuminanceOf(const float colour[ChannelCount]) {
  return Luminance(colour[Red], colour[Green], colour[Blue]);
}

CellSquare SquareOf(int cell) {
  CellSquare square{};
  square.left = (cell % CellColumns) * GlyphRows - StampMargin;
  square.top = (cell / CellColumns) * GlyphRows - StampMargin;
  for (int block = 0; block < StampBlocks; ++block) {
    const int x = square.left + (block % StampBlocksAcross) * StampBlock;
    const int y = square.top + (block / StampBlocksAcross) * StampBlock;
    square.blockOnScreen[block] = x >= 0 && x < Width && y >= 0 && y < Height;
  }
  return square;
}

bool JudgedUpClose(const InkRule& rule) {
  return rule.sharpWeight != 0 || rule.sharpColourWeight != 0;
}

struct CellChoice {
  uint8_t glyph;
  uint8_t ink;
};

struct Candidate {
  float likeness;
  CellChoice choice;
};

// What one thread needs while it chooses a cell.
struct Workspace {
  CellView view;
  float restColour[ChannelCount][StampPixels];
  GlyphDots dots;
  Candidate candidates[MostInksTried * GlyphCount];
};

Workspace workspaces[MostWorkers];

// The cell's own pixels in the picture, for the likeness up close.
void ViewCellUpClose(int cell, const InkRule& rule, CellView& view) {
  view.upClose = JudgedUpClose(rule);
  if (!view.upClose) return;
  const float* background = palette[rule.background];
  view.backgroundLightness = Lightness(LuminanceOf(background));
  const bool inColour = rule.sharpColourWeight != 0;
  const LabColour backgroundLab = inColour ? LabOf(background) : LabColour{};
  view.backgroundDistanceSum = 0;
  view.inksMeasured = 0;
  const int left = (cell % CellColumns) * GlyphRows, top = (cell / CellColumns) * GlyphRows;
  for (int j = 0; j < GlyphRows; ++j)
    for (int i = 0; i < GlyphRows; ++i) {
      const int k = OwnOrder(i, j), at = (top + j) * Width + left + i;
      view.ownWanted[k] = screen.sharpLightness[at];
      if (!inColour) continue;
      view.ownLab[k] = screen.sharpLab[at];
      view.backgroundDistance[k] = LabDistance(backgroundLab, screen.sharpLab[at]);
      view.backgroundDistanceSum += view.backgroundDistance[k];
    }
  for (int block = 0; block < OwnBlocks; ++block) {
    float y = 0, yy = 0;
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k)
      y += view.ownWanted[k], yy += view.ownWanted[k] * view.ownWanted[k];
    view.ownMean[block] = y / BlockPixels;
    view.ownVariance[block] = yy / BlockPixels - view.ownMean[block] * view.ownMean[block];
  }
}

void ViewCell(int cell, const InkRule& rule, Workspace& work) {
  CellView& view = work.view;
  view.square = SquareOf(cell);
  const float* background = palette[rule.background];
  float (*restColour)[StampPixels] = work.restColour;
  for (int j = 0; j < StampSpan; ++j)
    for (int i = 0; i < StampSpan; ++i) {
      const int k = BlockOrder(i, j);
      if (!view.square.blockOnScreen[k / BlockPixels]) continue;
      const int at = (view.square.top + j) * Width + view.square.left + i;
      for (int channel = 0; channel < ChannelCount; ++channel)
        restColour[channel][k] = screen.shown[channel][at] - screen.cellStamp[cell][channel][k] +
                                 background[channel] * cellBlur[k];
      view.rest[k] = Luminance(restColour[Red][k], restColour[Green][k], restColour[Blue][k]);
      view.wantedLightness[k] = screen.targetLightness[at];
    }
  ViewCellUpClose(cell, rule, view);
  for (int block = 0; block < StampBlocks; ++block) {
    if (!view.square.blockOnScreen[block]) continue;
    float r = 0, rr = 0, ry = 0, y = 0, yy = 0;
    for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k) {
      r += view.rest[k], rr += view.rest[k] * view.rest[k];
      ry += view.rest[k] * view.wantedLightness[k];
      y += view.wantedLightness[k], yy += view.wantedLightness[k] * view.wantedLightness[k];
    }
    view.restSum[block] = r, view.restSquares[block] = rr, view.restWanted[block] = ry;
    view.lightnessMean[block] = y / BlockPixels;
    view.lightnessVariance[block] =
        yy / BlockPixels - view.lightnessMean[block] * view.lightnessMean[block];
    if (rule.colourWeight == 0) continue;
    const int firstX = view.square.left + (block % StampBlocksAcross) * StampBlock;
    const int firstY = view.square.top + (block / StampBlocksAcross) * StampBlock;
    float wanted[ChannelCount] = {}, rest[ChannelCount] = {};
    for (int channel = 0; channel < ChannelCount; ++channel) {
      for (int j = 0; j < StampBlock; ++j)
        for (int i = 0; i < StampBlock; ++i)
          wanted[channel] += screen.target[channel][(firstY + j) * Width + firstX + i];
      for (int k = block * BlockPixels; k < (block + 1) * BlockPixels; ++k)
        rest[channel] += restColour[channel][k];
      wanted[channel] /= BlockPixels, rest[channel] /= BlockPixels;
    }
    LabSlope(wanted, view.labSlope[block]);
    for (int lab = 0; lab < ChannelCount; ++lab) {
      view.restFromWanted[block][lab] = 0;
      for (int channel = 0; channel < ChannelCount; ++channel)
        view.restFromWanted[block][lab] +=
            view.labSlope[block][lab][channel] * (rest[channel] - wanted[channel]);
    }
  }
}

// The inks a cell tries, nearest first.
int InksToTry(int cell, const InkRule& rule, uint8_t tried[C64ColourCount]) {
  struct Candidate {
    float distance;
    uint8_t ink;
  };
  Candidate candidates[C64ColourCount];
  int count = 0;
  for (int ink = 0; ink < C64ColourCount; ++ink)
    if ((rule.inks >> ink & 1) != 0 && ink != rule.background)
      candidates[count++] = {0, static_cast<uint8_t>(ink)};
  // A rule that leaves no ink but the background still gives every cell a
  // choice: any glyph, shown in the background.
  if (count == 0) candidates[count++] = {0, rule.background};
  if (count > MostInksTried)
    for (int i = 0; i < count; ++i)
      candidates[i].distance =
          MixDistance(screen.cellColour[cell], rule.background, candidates[i].ink);
  const int kept = std::min(count, MostInksTried);
  // Ties go to the lower colour number: the order is total, so that every
  // standard library's sort keeps the same inks.
  std::partial_sort(candidates, candidates + kept, candidates + count,
                    [](const Candidate& a, const Candidate& b) {
                      return a.distance < b.distance || (a.distance == b.distance && a.ink < b.ink);
                    });
  for (int i = 0; i < kept; ++i) tried[i] = candidates[i].ink;
  return kept;
}

// Each ink as it differs from the rule's background, made once a run: the
// finalists weigh them again and again.
InkStep inkSteps[C64ColourCount];

void MakeInkSteps(const InkRule& rule) {
  const float* background = palette[rule.background];
  for (int ink = 0; ink < C64ColourCount; ++ink) {
    const float* colour = palette[ink];
    InkStep& step = inkSteps[ink];
    step = {LuminanceOf(colour) - LuminanceOf(background), {}, rule.colourWeight,
            Lightness(LuminanceOf(colour)) - Lightness(LuminanceOf(background)),
            rule.sharpWeight, LabOf(colour), static_cast<uint8_t>(ink), rule.sharpColourWeight};
    for (int channel = 0; channel < ChannelCount; ++channel)
      step.colour[channel] = colour[channel] - background[channel];
  }
}

// Weighs every glyph in each ink the cell tries, keeps the best Finalists.
CellChoice WeighAll(int cell, const InkRule& rule, int glyphsTried, Workspace& work) {
  const CellView& view = work.view;
  GlyphDots& dots = work.dots;
  Candidate* candidates = work.candidates;
  DotGlyphs(view, glyphsTried, dots);
  const GlyphStamps& stamps = TheGlyphStamps();
  uint8_t inks[C64ColourCount];  // room for all, though at most MostInksTried are tried
  const int inkCount = InksToTry(cell, rule, inks);
  int count = 0;
  for (int i = 0; i < inkCount; ++i) {
    float likeness[GlyphCount] = {};
    ScoreInk(view, dots, tables, inkSteps[inks[i]], glyphsTried, likeness);
    for (int glyph = 0; glyph < glyphsTried; ++glyph)
      if (!stamps.repeats[glyph])
        candidates[count++] = {likeness[glyph] - glyphCost[glyph],
                               {static_cast<uint8_t>(glyph), inks[i]}};
  }
  const int kept = std::min(count, Finalists);
  // Equal likenesses are common (a glyph and its look-alike, an ink that
  // changes nothing): ties go to the lower ink, then the lower glyph, so
  // that the order is total and every standard library's sort (libstdc++
  // natively, libc++ in the page's engine) picks the same finalists. The
  // best are found first and only they are put in order: faster than a
  // partial sort, and the same finalists in the same order.
  const auto better = [](const Candidate& a, const Candidate& b) {
    if (a.likeness != b.likeness) return a.likeness > b.likeness;
    if (a.choice.ink != b.choice.ink) return a.choice.ink < b.choice.ink;
    return a.choice.glyph < b.choice.glyph;
  };
  std::nth_element(candidates, candidates + kept - 1, candidates + count, better);
  std::sort(candidates, candidates + kept, better);
  for (int i = 0; i < Finalists; ++i) {
    const CellChoice finalist = candidates[std::min(i, kept - 1)].choice;
    screen.finalists[cell][i] = {finalist.glyph, finalist.ink};
  }
  screen.weighed[cell] = true;
  return candidates[0].choice;
}

CellChoice ChooseCell(int cell, const InkRule& rule, int glyphsTried, Workspace& work) {
  const CellView& view = work.view;
  ViewCell(cell, rule, work);
  if (!screen.weighed[cell]) return WeighAll(cell, rule, glyphsTried, work);
  CellChoice best{};
  float bestLikeness = -1e30f;
  for (const auto& finalist : screen.finalists[cell]) {
    const float likeness = ScoreGlyph(view, tables, inkSteps[finalist.ink], finalist.glyph) -
                           glyphCost[finalist.glyph];
    if (likeness > bestLikeness) best = {finalist.glyph, finalist.ink}, bestLikeness = likeness;
  }
  return best;
}

// Puts the cell's new look in place of what it showed.
void PlaceChoice(int cell, const InkRule& rule, CellChoice choice) {
  const CellSquare square = SquareOf(cell);
  const float* values = TheGlyphStamps().byGlyph[choice.glyph];
  for (int channel = 0; channel < ChannelCount; ++channel) {
    const float background = palette[rule.background][channel];
    const float step = palette[choice.ink][channel] - background;
    float* own = screen.cellStamp[cell][channel];
    for (int j = 0; j < StampSpan; ++j)
      for (int i = 0; i < StampSpan; ++i) {
        const int k = BlockOrder(i, j);
        const float now = background * cellBlur[k] + step * values[k];
        if (square.blockOnScreen[k / BlockPixels])
          screen.shown[channel][(square.top + j) * Width + square.left + i] += now - own[k];
        own[k] = now;
      }
  }
}

void MarkSurroundings(int cell) {
  const int row = cell / CellColumns, column = cell % CellColumns;
  for (int r = std::max(0, row - 1); r <= std::min(CellRows - 1, row + 1); ++r)
    for (int c = std::max(0, column - 1); c <= std::min(CellColumns - 1, column + 1); ++c)
      screen.dirty[r * CellColumns + c].store(true, std::memory_order_relaxed);
}

void BlurIntoBlockOrder(const float pixels[GlyphRows * GlyphRows], float stamp[StampPixels]) {
  float square[StampPixels];
  BlurCell(pixels, square);
  for (int j = 0; j < StampSpan; ++j)
    for (int i = 0; i < StampSpan; ++i) stamp[BlockOrder(i, j)] = square[j * StampSpan + i];
}

// Before the first choice the screen is taken to show start, so that every
// cell is first judged among neighbours like those it will have.
void ShowPicture(const ScreenPicture& picture, const ScreenPicture& start, const InkRule& rule) {
  for (int channel = 0; channel < ChannelCount; ++channel) {
    BlurPlane(picture.planes[channel], screen.target[channel]);
    BlurPlane(start.planes[channel], screen.shown[channel]);
  }
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    screen.targetLightness[at] = tables.lightness[LightnessStep(
        Luminance(screen.target[Red][at], screen.target[Green][at], screen.target[Blue][at]))];
    if (!JudgedUpClose(rule)) continue;
    const float colour[ChannelCount] = {picture.planes[Red][at], picture.planes[Green][at],
                                        picture.planes[Blue][at]};
    screen.sharpLightness[at] = tables.lightness[LightnessStep(LuminanceOf(colour))];
    if (rule.sharpColourWeight != 0) screen.sharpLab[at] = LabOf(colour);
  }
  float whole[GlyphRows * GlyphRows];
  std::fill(whole, whole + GlyphRows * GlyphRows, 1.0f);
  BlurIntoBlockOrder(whole, cellBlur);
  for (int cell = 0; cell < CellCount; ++cell) {
    const int left = (cell % CellColumns) * GlyphRows, top = (cell / CellColumns) * GlyphRows;
    float mean[ChannelCount];
    for (int channel = 0; channel < ChannelCount; ++channel) {
      float pixels[GlyphRows * GlyphRows];
      float sum = 0;
      for (int j = 0; j < GlyphRows; ++j)
        for (int i = 0; i < GlyphRows; ++i)
          sum += picture.planes[channel][(top + j) * Width + left + i];
      for (int j = 0; j < GlyphRows; ++j)
        for (int i = 0; i < GlyphRows; ++i)
          pixels[j * GlyphRows + i] = start.planes[channel][(top + j) * Width + left + i];
      mean[channel] = sum / (GlyphRows * GlyphRows);
      BlurIntoBlockOrder(pixels, screen.cellStamp[cell][channel]);
    }
    std::copy(mean, mean + ChannelCount, screen.cellColour[cell]);
    screen.codes[cell] = 0;
    screen.inks[cell] = 0;
    screen.dirty[cell] = true;
    screen.weighed[cell] = false;
  }
}

// A screen in one ink starts from the picture split by a threshold, in the
// ink on the background: its neighbours are then already of two colours, as
// they will be, and the first choices are nearly the last.
void SplitPicture(const ScreenPicture& picture, const InkRule& rule, uint8_t ink,
                  ScreenPicture& start) {
  static CoveragePlane coverage;
  static BitPicture bits;
  const bool darkInk = LuminanceOf(palette[ink]) < LuminanceOf(palette[rule.background]);
  MeasureCoverage(picture, darkInk, coverage);
  ThresholdPicture(coverage, darkInk, bits);
  for (int at = 0; at < ScreenPicturePixels; ++at) {
    const bool set = (bits.rows[at / 8] & (0x80 >> (at % 8))) != 0;
    for (int channel = 0; channel < ChannelCount; ++channel)
      start.planes[channel][at] = palette[set ? ink : rule.background][channel];
  }
}

int OnlyInk(const InkRule& rule) {
  const uint16_t inks = rule.inks & static_cast<uint16_t>(~(1u << rule.background));
  if (inks == 0 || (inks & (inks - 1)) != 0) return -1;
  int ink = 0;
  while ((inks >> ink & 1) == 0) ++ink;
  return ink;
}

// One sweep over the screen, shared by the threads that make it. Each takes
// the next row not yet taken and chooses its cells from left to right,
// exactly as one thread going along the rows would: a cell's square covers
// its own cell and the margin into its eight neighbours, and its choice
// changes what is shown there alone, so a cell may be chosen once the row
// above has chosen up to the cell after the one above it. The cells then
// seen, and the order in which each pixel's sums change, are those of one
// thread, and the screen is the same whatever the number of threads.
struct Sweep {
  const InkRule* rule;
  int glyphsTried;
  bool first;
  std::atomic<int> nextRow;
  std::atomic<int> done[CellRows];  // how many cells of each row are chosen
  std::atomic<bool> changed;
};

void SweepRow(Sweep& sweep, int row, Workspace& work) {
  for (int column = 0; column < CellColumns; ++column) {
    if (row > 0) {
      const int needed = std::min(column + 2, CellColumns);
      while (sweep.done[row - 1].load(std::memory_order_acquire) < needed)
        std::this_thread::yield();
    }
    const int cell = row * CellColumns + column;
    if (screen.dirty[cell].exchange(false, std::memory_order_relaxed)) {
      const CellChoice choice = ChooseCell(cell, *sweep.rule, sweep.glyphsTried, work);
      if (sweep.first || choice.glyph != screen.codes[cell] || choice.ink != screen.inks[cell]) {
        screen.codes[cell] = choice.glyph;
        screen.inks[cell] = choice.ink;
        PlaceChoice(cell, *sweep.rule, choice);
        MarkSurroundings(cell);
        sweep.changed.store(true, std::memory_order_relaxed);
      }
    }
    sweep.done[row].store(column + 1, std::memory_order_release);
  }
}

void SweepRows(int part, void* context) {
  Sweep& sweep = *static_cast<Sweep*>(context);
  for (int row = sweep.nextRow++; row < CellRows; row = sweep.nextRow++)
    SweepRow(sweep, row, workspaces[part]);
}

}  // namespace

void ChooseGlyphs(const ScreenPicture& picture, const InkRule& rule, const GlyphRule& glyphs,
                  uint8_t codes[CellCount], uint8_t inks[CellCount]) {
  MakeLightnessTables(tables);
  for (int glyph = 0; glyph < GlyphCount; ++glyph)
    glyphCost[glyph] =
        !glyphs.textLikeAlike && IsTextLike(static_cast<uint8_t>(glyph), glyphs.set) ? TextLikeCost : 0;
  palette = TheInkPalette().colours;
  MakeInkSteps(rule);
  static ScreenPicture start;
  const int onlyInk = OnlyInk(rule);
  if (onlyInk >= 0) SplitPicture(picture, rule, static_cast<uint8_t>(onlyInk), start);
  ShowPicture(picture, onlyInk >= 0 ? start : picture, rule);
  Sweep sweep{&rule, glyphs.normalOnly ? NormalGlyphCount : GlyphCount, true, {}, {}, {}};
  const int workers = GlyphThreadCount();
  for (int round = 0; round < MostSweeps; ++round) {
    sweep.nextRow = 0;
    sweep.changed = false;
    for (auto& done : sweep.done) done = 0;
    PlatformRunTogether(workers, SweepRows, &sweep);
    sweep.first = false;
    if (!sweep.changed) break;
  }
  std::copy(screen.codes, screen.codes + CellCount, codes);
  std::copy(screen.inks, screen.inks + CellCount, inks);
}

void LimitGlyphThreads(int most) { workerLimit = std::clamp(most, 1, MostWorkers); }

int GlyphThreadCount() { return std::min(PlatformWorkerCount(), workerLimit); }

void DrawGlyphs(const uint8_t codes[CellCount], BitPicture& picture) {
  for (int cell = 0; cell < CellCount; ++cell) {
    const int row = cell / CellColumns, column = cell % CellColumns;
    for (int j = 0; j < GlyphRows; ++j)
      picture.rows[(row * GlyphRows + j) * PixelRowBytes + column] =
          GlyphTable[codes[cell] * GlyphRows + j];
  }
}
