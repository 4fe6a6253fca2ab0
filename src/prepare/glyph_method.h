#pragma once
#include <cstdint>

#include "match/screen_layout.h"
#include "prepare/bit_picture.h"
#include "prepare/coverage.h"

// Chooses a character for every cell so that the screen, seen from a little
// distance, looks as much like the picture as the character set allows. A
// screen seen from afar is its pixels blurred in light; each cell's choice
// is the glyph whose blurred pattern, added to what its neighbours already
// show, comes closest to the blurred picture over the cell and its margin.
// Closeness is counted in lightness as the eye grades it (CIE L*), so that
// a step in the shadows weighs as much as one it sees as equal in the
// lights. Sweeps over the screen repeat, each choice seeing the latest
// choices around it.
//
// darkPartsDrawn: the screen shows dark characters on a light background,
// so the lightness of a pixel is 1 - its coverage. normalGlyphsOnly: only
// characters 0 to 127 take part.
void ChooseGlyphs(const CoveragePlane& coverage, bool darkPartsDrawn, bool normalGlyphsOnly,
                  uint8_t codes[CellCount]);

// Draws the chosen characters as pixels, which the converter then matches
// back to the same characters (or to ones drawn the same).
void DrawGlyphs(const uint8_t codes[CellCount], BitPicture& picture);
