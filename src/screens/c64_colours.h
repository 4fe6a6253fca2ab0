#pragma once
#include <cstdint>

// The C64's 16 colours by number, as a PAL machine shows them (Pepto's
// measured values): black, white, red, cyan, purple, green, blue, yellow,
// orange, brown, light red, dark grey, grey, light green, light blue, light
// grey.
struct RgbColour {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

inline constexpr int C64ColourCount = 16;
inline constexpr RgbColour C64Palette[C64ColourCount] = {
    {0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0x68, 0x37, 0x2B}, {0x70, 0xA4, 0xB2},
    {0x6F, 0x3D, 0x86}, {0x58, 0x8D, 0x43}, {0x35, 0x28, 0x79}, {0xB8, 0xC7, 0x6F},
    {0x6F, 0x4F, 0x25}, {0x43, 0x39, 0x00}, {0x9A, 0x67, 0x59}, {0x44, 0x44, 0x44},
    {0x6C, 0x6C, 0x6C}, {0x9A, 0xD2, 0x84}, {0x6C, 0x5E, 0xB5}, {0x95, 0x95, 0x95},
};

// The screen a C64 starts with: light blue characters and border on blue.
inline constexpr uint8_t StartupInk = 14;
inline constexpr uint8_t StartupBackground = 6;
inline constexpr uint8_t StartupBorder = 14;
