// The preparer's own work on a decoded picture: laid on the screen in
// linear light, toned, then the pixels chosen by the method asked for and
// given the converter's screen codes and their colours.
#include "prepare/prepare_screen.h"

#include <algorithm>

#include "match/cell_matcher.h"
#include "outputs/screen_drawing.h"
#include "picture/resampling.h"
#include "prepare/bit_picture.h"
#include "prepare/glyph_method.h"
#include "prepare/glyph_stamps.h"
#include "prepare/ink_palette.h"
#include "prepare/one_ink_colours.h"
#include "prepare/simple_methods.h"
#include "prepare/viewing_blur.h"

namespace {

ScreenPicture picture;
CoveragePlane coverage;
BitPicture bits;
uint8_t codes[CellCount];
uint8_t inks[CellCount];
ColourScreen colourFile;
OneInkColours oneInk;  // the colours one ink was chosen in

// What a unit of colour difference (Delta E, in a block of 4 x 4 pixels)
// costs against the structural likeness of that block, which is at most 1.
constexpr float ColourWeight = 0.01f;

// In colour, each cell is also judged up close, unblurred: by structural
// similarity in lightness over its four blocks, at SharpWeight each against
// the sixteen blocks judged from afar, and by its pixels' mean colour
// difference, at SharpColourWeight a unit. From afar a checker of two far
// colours passes for their mix; up close it is busy and off in colour,
// where one near ink is flat and near. Without them colour screens were
// busier and further in colour up close than a plain per-cell colouring,
// for a little more likeness from afar.
constexpr float SharpWeight = 0.8f;
constexpr float SharpColourWeight = 0.1f;

// One ink is judged up close in lightness too: from the farther distance
// it is judged at, its texture would otherwise grow busy.
constexpr float OneInkSharpWeight = 1.0f;

// Every colour may be an ink.
constexpr uint16_t AllColours = 0xFFFF;

// One ink's pixels are white on black, or black on white where the dark
// parts are drawn, unless the glyph method chooses the pair: the other
// methods only split light from dark, and a user who names either colour
// gets glyphs chosen as before and shown in the colours named.
constexpr uint8_t Black = 0;
constexpr uint8_t White = 1;

void ChoosePixels(const PrepareSettings& settings) {
  AdjustTone(picture, settings.tone);
  oneInk = settings.darkPartsDrawn ? OneInkColours{White, Black} : OneInkColours{Black, White};
  MeasureCoverage(picture, settings.darkPartsDrawn, coverage);
  switch (settings.method) {
    case PrepareMethod::Threshold:
      ThresholdPicture(coverage, settings.darkPartsDrawn, bits);
      return;
    case PrepareMethod::Diffuse:
      DiffusePicture(coverage, bits);
      return;
    case PrepareMethod::Glyphs:
      break;
  }
  if (!settings.colour && settings.ink == NoColourGiven && settings.background == NoColourGiven)
    oneInk = ChooseOneInkColours(picture, settings.darkPartsDrawn, ColourWeight,
                                 GlyphThreadCount());
  InkRule rule = {oneInk.background, static_cast<uint16_t>(1u << oneInk.ink), 0,
                  OneInkSharpWeight, 0};
  if (settings.colour) {
    rule.inks = AllColours;
    rule.colourWeight = ColourWeight;
    rule.sharpWeight = SharpWeight;
    rule.sharpColourWeight = SharpColourWeight;
    rule.background = settings.background != NoColourGiven
                          ? static_cast<uint8_t>(settings.background)
                          : ChooseBackground(picture, AllColours);
  }
  UseGlyphSet(settings.style.set);
  UseViewingDistance(settings.colour ? ViewingDistance::Near : ViewingDistance::Far);
  ChooseGlyphs(picture, rule,
               {settings.normalGlyphsOnly, settings.allGlyphsAlike, settings.style.set}, codes,
               inks);
  std::copy(inks, inks + CellCount, colourFile.inks);
  colourFile.border = rule.background;  // the screen's edge continues its background
  colourFile.background = rule.background;
  DrawScreen(codes, bits.rows, settings.style.set);
}

// The screen of the outputs: the pixels chosen, the screen codes the
// converter gives them (look-alike glyphs become the lowest-numbered one,
// as cellglyph makes of the BMP), and their colours: those chosen with the
// glyphs, or one ink on a background, those it was chosen in unless the
// options say otherwise.
void SettleScreen(const PrepareSettings& settings, PreparedScreen& screen) {
  screen.bits = bits;
  // The converter matches in the upper-case set alone; the other set is
  // matched the same way, by the same rule.
  if (settings.style.set == CharacterSet::Upper) {
    int16_t sameBits[CellRows][CellColumns];
    MatchCells(bits.rows, settings.normalGlyphsOnly, screen.codes, sameBits);
  } else {
    MatchCellsInSet(bits.rows, settings.style.set, settings.normalGlyphsOnly, screen.codes);
  }
  if (settings.colour) {
    screen.colours = colourFile;
  } else {
    const uint8_t ink = settings.ink != NoColourGiven ? static_cast<uint8_t>(settings.ink)
                                                       : oneInk.ink;
    const uint8_t paper = settings.background != NoColourGiven
                              ? static_cast<uint8_t>(settings.background)
                                                    : oneInk.background;
    FillColourScreen(ink, paper, paper, screen.colours);
  }
  if (settings.border != NoColourGiven)
    screen.colours.border = static_cast<uint8_t>(settings.border);
}

}  // namespace

PictureSink StartLayingPicture(const PrepareSettings& settings) {
  // Transparent parts show the screen's background: black where the light
  // parts are drawn, white where the dark ones are.
  const float paper = settings.darkPartsDrawn ? 1.0f : 0.0f;
  const ResamplingSettings resampling = {settings.fit, {paper, paper, paper}};
  return StartResampling(resampling, picture);
}

bool FinishLayingPicture() { return FinishResampling(); }

void ChooseScreen(const PrepareSettings& settings, PreparedScreen& screen) {
  ChoosePixels(settings);
  SettleScreen(settings, screen);
}
