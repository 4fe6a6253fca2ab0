#pragma once
#include <cstdint>

// The page's engine: the preparer's work on a picture the browser decoded,
// called from the page's worker (web/engine_worker.js). No command line and
// no files: the picture comes as RGBA pixels, the settings as numbers, and
// every output stays in the engine's memory for the page to take.
extern "C" {

// Room for the browser's pixels of a picture of width x height (RGBA, rows
// top to bottom), or null where the picture has no pixels or is larger than
// the engine takes (cellglyph_refusal then says why). The page fills it
// before cellglyph_prepare.
uint8_t* cellglyph_picture(int32_t width, int32_t height);

// The settings, one number each, in the order of cellglyph_prepare's
// parameters below: fit (0 cover, 1 contain, 2 stretch), method (0 glyphs,
// 1 diffuse, 2 threshold), invert, dirart and all-glyphs (0 or 1),
// brightness and contrast (-100 to 100), colour (0 or 1), ink, background
// and border (a colour number 0 to 15, or -1 for the usual one), charset
// (0 upper, 1 lower), assembler dialect (0 64tass, 1 ACME).
//
// Lays the held picture on the screen and builds every output. Returns 0
// when done, else the address of a line that says why not (a setting out
// of range, or a pair that does not go together), checked before any work
// so that the shared code never ends the run.
const char* cellglyph_prepare(int32_t fit, int32_t method, int32_t invert, int32_t dirart,
                              int32_t allGlyphs, int32_t brightness, int32_t contrast,
                              int32_t colour, int32_t ink, int32_t background, int32_t border,
                              int32_t charset, int32_t dialect);

// The line cellglyph_picture leaves when it refuses a picture.
const char* cellglyph_refusal();

// An output of the last run, by its format's number (OutputFormat): where
// its bytes are and how many; 0 for one not built.
const uint8_t* cellglyph_output(int32_t format);
int32_t cellglyph_output_size(int32_t format);
}
