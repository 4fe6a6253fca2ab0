#pragma once
#include <cstdint>

#include "match/character_sets.h"
#include "match/screen_layout.h"
#include "screens/colour_file.h"

// A workspace of the Petmate PETSCII editor, so that a screen can be edited
// further there: a JSON document with the workspace version 2, one screen
// (screens [0]) and its framebuf: width 40, height 25, the background and
// border colour, the character set ("upper" or "lower"), and 25 rows of 40
// cells {"code": screen code, "color": ink}. An empty "customFonts" object
// closes it. One row of cells a line, lines ending in LF.
inline constexpr int PetmateHeadroom = 256;  // everything around the cells
inline constexpr int PetmateCellSize = 24;   // {"code":255,"color":15},
inline constexpr int PetmateDocumentCapacity =
    PetmateHeadroom + CellRows * (CellColumns * PetmateCellSize + 3);

// Writes the document for codes (CellCount screen codes) in colours into
// document, which holds PetmateDocumentCapacity bytes, and returns its
// length.
int BuildPetmateDocument(const uint8_t* codes, const ColourScreen& colours, uint8_t* document,
                         CharacterSet set = CharacterSet::Upper);
