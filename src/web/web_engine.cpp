#include "web/web_engine.h"

#include <cstdio>

#include "picture/decode_rules.h"
#include "picture/picture_pixels_web.h"
#include "prepare/prepare_outputs.h"
#include "prepare/prepare_screen.h"
#include "screens/c64_colours.h"

namespace {

// Every output the page offers, each built on every run, so that a download
// is always of the screen shown. (The 1-bit BMP is the converter's input,
// not something to download from a page.)
constexpr const char* OutputNames[] = {"screen.prg", "screen.asm",  "screen.seq", "screen.petmate",
                                       "screen.png", "screen.bin", "screen.col"};


char refusal[128];
PreparedScreen screen;
BuiltOutputs built;

bool Within(int32_t value, int32_t lowest, int32_t highest) {
  return value >= lowest && value <= highest;
}

// The same pairs the command line turns down, in the page's words.
const char* CheckSettings(const PrepareSettings& settings, int32_t colour, int32_t ink) {
  if (settings.method != PrepareMethod::Glyphs && settings.colour)
    return "Colour works with the glyphs method only.";
  if (colour != 0 && ink != NoColourGiven)
    return "One ink does not go with colour: each cell's ink is chosen with it.";
  return nullptr;
}

}  // namespace

extern "C" {

uint8_t* cellglyph_picture(int32_t width, int32_t height) {
  uint8_t* pixels = nullptr;
  const DecodeOutcome outcome = HoldPicturePixels(width, height, &pixels);
  if (outcome == DecodeOutcome::NoPixels) {
    std::snprintf(refusal, sizeof refusal, "The picture has no pixels.");
  } else if (outcome != DecodeOutcome::Decoded) {
    const SideLimit limit = PlatformSideLimit(PictureKind::Other);
    std::snprintf(refusal, sizeof refusal,
                  "The picture is too large: at most %d x %d pixels here.",
                  static_cast<int>(limit.longSide), static_cast<int>(limit.shortSide));
  }
  return outcome == DecodeOutcome::Decoded ? pixels : nullptr;
}

const char* cellglyph_refusal() { return refusal; }

const char* cellglyph_prepare(int32_t fit, int32_t method, int32_t invert, int32_t dirart,
                              int32_t allGlyphs, int32_t brightness, int32_t contrast,
                              int32_t colour, int32_t ink, int32_t background, int32_t border,
                              int32_t charset, int32_t dialect) {
  const bool inRange = Within(fit, 0, 2) && Within(method, 0, 2) && Within(invert, 0, 1) &&
                       Within(dirart, 0, 1) && Within(allGlyphs, 0, 1) &&
                       Within(brightness, -100, 100) && Within(contrast, -100, 100) &&
                       Within(colour, 0, 1) && Within(ink, -1, C64ColourCount - 1) &&
                       Within(background, -1, C64ColourCount - 1) &&
                       Within(border, -1, C64ColourCount - 1) && Within(charset, 0, 1) &&
                       Within(dialect, 0, 1);
  if (!inRange) return "A setting is out of its range.";
  PrepareSettings settings = DefaultPrepareSettings;
  settings.fit = static_cast<FitMode>(fit);
  settings.method = static_cast<PrepareMethod>(method);
  settings.darkPartsDrawn = invert != 0;
  settings.normalGlyphsOnly = dirart != 0;
  settings.allGlyphsAlike = allGlyphs != 0;
  settings.tone = {static_cast<int16_t>(brightness), static_cast<int16_t>(contrast)};
  settings.colour = colour != 0;
  settings.ink = static_cast<int16_t>(ink);
  settings.background = static_cast<int16_t>(background);
  settings.border = static_cast<int16_t>(border);
  settings.style.set = charset != 0 ? CharacterSet::Lower : CharacterSet::Upper;
  settings.style.dialect = dialect != 0 ? AsmDialect::Acme : AsmDialect::DotByte;
  settings.style.asmColours = settings.colour;
  if (const char* why = CheckSettings(settings, colour, ink)) return why;

  const PictureSink sink = StartLayingPicture(settings);
  if (DecodePicture(HeldPictureBytes(), LeastDecodedSide, sink) != DecodeOutcome::Decoded ||
      !FinishLayingPicture())
    return "There is no picture to prepare.";
  ChooseScreen(settings, screen);
  PrepareOutputs outputs{};
  for (const char* name : OutputNames) {
    outputs.names[outputs.count] = name;
    outputs.formats[outputs.count++] = FormatFromName(name);
  }
  if (!BuildPreparedOutputs(outputs, screen, settings.style, built))
    return "The engine ran out of memory.";
  return nullptr;
}

const uint8_t* cellglyph_output(int32_t format) {
  return Within(format, 0, OutputFormatCount - 1) ? built.bytes + OutputOffset(format) : nullptr;
}

int32_t cellglyph_output_size(int32_t format) {
  return Within(format, 0, OutputFormatCount - 1) ? built.sizes[format] : 0;
}
}
