#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "match/screen_layout.h"

// The colours that go with a screen file, as a colour file holds them: the
// ink of every cell, row by row as colour memory ($D800) holds them, then
// the border colour and the background colour; every one a C64 colour
// number from 0 to 15. The struct is laid out byte for byte as the file,
// so a program that makes one writes it whole:
//   WriteWholeFile(name, &colours, ColourFileSize);
struct ColourScreen {
  uint8_t inks[CellCount];
  uint8_t border;
  uint8_t background;
};
inline constexpr int ColourFileSize = CellCount + 2;  // 1002
inline constexpr int ColourFileBorderAt = CellCount;
inline constexpr int ColourFileBackgroundAt = CellCount + 1;
static_assert(sizeof(ColourScreen) == ColourFileSize);
static_assert(offsetof(ColourScreen, border) == ColourFileBorderAt);
static_assert(offsetof(ColourScreen, background) == ColourFileBackgroundAt);

// Every cell in one ink.
void FillColourScreen(uint8_t ink, uint8_t border, uint8_t background, ColourScreen& colours);

// Whether every cell has the same ink.
bool OneInkForAll(const ColourScreen& colours);

// Reads the named colour file into colours after the console line
// Reading colour file "NAME"... A file that is not exactly ColourFileSize
// bytes ends the run with the rejection line Error: "NAME" has N bytes, a
// colour file has exactly 1002., one with a byte above 15 with Error:
// "NAME" holds V at byte N; colours are 0 to 15. (N counted from 0, the
// first such byte); a failed file operation through the I/O check with
// its number.
void ReadColourFile(std::string_view name, ColourScreen& colours);
