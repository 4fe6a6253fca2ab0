#pragma once
#include <cstdint>

#include "match/character_sets.h"
#include "match/screen_layout.h"
#include "picture/screen_picture.h"
#include "prepare/bit_picture.h"

// Which colours the screen may use: one background for the whole screen,
// and for each cell an ink from a set.
struct InkRule {
  uint8_t background;  // C64 colour number
  uint16_t inks;       // bit n: colour n may be a cell's ink
  float colourWeight;  // what a unit of colour difference (Delta E) costs; 0: lightness alone
  float sharpWeight;   // what the likeness of the cell up close counts for; 0: seen from afar only
  float sharpColourWeight;  // what a unit of the cell's colour difference up close costs
};

// Which glyphs a cell may show, and how they are weighed.
struct GlyphRule {
  bool normalOnly;     // only characters 0 to 127 take part
  bool textLikeAlike;  // the text-like glyphs (text_like_glyphs.h) weighed as any other
  CharacterSet set;    // the set the stamps are of (UseGlyphSet), for which glyphs read as text
};

// Chooses a character and an ink for every cell so that the screen, seen
// from a little distance, looks as much like the picture as the character
// set and the colours allow. A screen seen from afar is its pixels blurred
// in light; each cell's choice is the glyph and ink whose blurred pattern,
// added to what the neighbours already show, is most like the blurred
// picture over the cell and its margin: alike in lightness as the eye
// grades it (CIE L*), by structural similarity, and in colour. Sweeps over
// the screen repeat, each choice seeing the latest choices around it.
// Unless the glyph rule weighs them alike, a text-like glyph is chosen only
// where it is more alike than any other by a margin: shading should not
// read as words.
void ChooseGlyphs(const ScreenPicture& picture, const InkRule& rule, const GlyphRule& glyphs,
                  uint8_t codes[CellCount], uint8_t inks[CellCount]);

// At most this many threads choose cells from now on (at least 1); until it
// is called, as many as the processors allow. The screen is the same for
// any number.
void LimitGlyphThreads(int most);

// How many threads the glyph method runs on: one a processor, within the limit.
int GlyphThreadCount();

// Draws the chosen characters as pixels, which the converter then matches
// back to the same characters (or to ones drawn the same).
void DrawGlyphs(const uint8_t codes[CellCount], BitPicture& picture);
