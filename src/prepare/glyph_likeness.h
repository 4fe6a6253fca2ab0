#pragma once
#include <cstdint>

#include "picture/screen_picture.h"
#include "prepare/colour_space.h"
#include "prepare/glyph_stamps.h"
#include "screens/c64_colours.h"
#include "prepare/lightness.h"

// Where a cell's square lies on the screen, and which of its blocks are on
// the screen at all (a block lies wholly on it or wholly off it).
struct CellSquare {
  int left;
  int top;
  bool blockOnScreen[StampBlocks];
};

// What one cell's choice is judged against, over its square in block order.
// "Rest" is what the screen shows there with the cell's glyph pixels left
// out: the other cells, and this cell in its background colour. A glyph in
// ink then adds (ink - background) x its blurred pattern. Luminance is
// linear; lightness is CIE L*.
struct CellView {
  CellSquare square;
  float rest[StampPixels];             // luminance
  float wantedLightness[StampPixels];  // the picture's
  float restSum[StampBlocks];
  float restSquares[StampBlocks];
  float restWanted[StampBlocks];  // sum of rest x wanted lightness
  float lightnessMean[StampBlocks];
  float lightnessVariance[StampBlocks];
  // For the colour difference, in CIELAB, taken as a straight line in
  // linear RGB about the picture's mean colour in each block:
  float restFromWanted[StampBlocks][ChannelCount];  // Lab change of the rest's mean from the picture's
  float labSlope[StampBlocks][ChannelCount][ChannelCount];  // Lab change per unit of each channel
  // The cell itself up close, unblurred: there it shows only the
  // background and the ink, each of one lightness.
  bool upClose;                // the likeness up close counts: the fields below hold
  float ownWanted[OwnPixels];  // the picture's lightness, own order
  float ownMean[OwnBlocks];
  float ownVariance[OwnBlocks];
  float backgroundLightness;
  // How far each own pixel's colour in the picture is from the background
  // and, for the ink being weighed, from the ink (Delta E); the latter is
  // filled by ScoreInk.
  LabColour ownLab[OwnPixels];
  float backgroundDistance[OwnPixels];
  float backgroundDistanceSum;
  // Each ink's distance from the picture at each own pixel, less the
  // background's, measured the first time the ink is weighed for the view.
  mutable float inkFarther[C64ColourCount][OwnPixels];
  mutable uint16_t inksMeasured;  // bit n: inkFarther[n] holds
};

// Sums of each glyph's blurred values with the rest and with the picture's
// lightness, block by block: all that the likeness needs of a glyph and
// that does not depend on its ink.
struct GlyphDots {
  float rest[StampBlocks][GlyphCount];
  float wanted[StampBlocks][GlyphCount];
  float ownWanted[OwnBlocks][GlyphCount];  // the picture's lightness where the glyph sets pixels
};

// One ink, as it differs from the background.
struct InkStep {
  float luminance;
  float colour[ChannelCount];  // linear RGB
  float colourWeight;          // what a unit of mean colour difference (Delta E) costs, 0 for none
  float lightness;             // CIE L* of the ink less that of the background
  float sharpWeight;           // what the likeness up close counts for, beside that from afar
  LabColour lab;               // the ink's colour
  uint8_t number;              // the ink's colour number
  float sharpColourWeight;     // what a unit of the cell's mean colour difference up close costs
};

// Fills dots for the glyphs 0 to glyphsTried - 1.
void DotGlyphs(const CellView& view, int glyphsTried, GlyphDots& dots);

// Adds to likeness, for each glyph drawn in the ink, the structural
// similarity of screen and picture in lightness, block by block over the
// square, less the ink's colour weight times the colour difference of the
// block means. Within a block the screen's lightness is taken as a straight
// line in luminance through the block's mean, so that its variance and
// covariance follow from the dots. Both run over all glyphs at once, in
// the processor's widest vectors.
void ScoreInk(const CellView& view, const GlyphDots& dots, const LightnessTables& tables,
              const InkStep& ink, int glyphsTried, float likeness[GlyphCount]);

// The same likeness for one glyph in one ink, for a cell that has only a few
// candidates left to weigh.
float ScoreGlyph(const CellView& view, const LightnessTables& tables, const InkStep& ink,
                 uint8_t glyph);
