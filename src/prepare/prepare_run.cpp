#include "prepare/prepare_run.h"

#include <algorithm>
#include <cstdio>

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "match/cell_matcher.h"
#include "outputs/screen_drawing.h"
#include "picture/decode_rules.h"
#include "picture/picture_file.h"
#include "picture/resampling.h"
#include "prepare/bit_picture.h"
#include "prepare/glyph_method.h"
#include "prepare/glyph_stamps.h"
#include "prepare/ink_palette.h"
#include "prepare/prepare_outputs.h"
#include "prepare/simple_methods.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "screens/bmp_image.h"
#include "screens/colour_file.h"
#include "screens/rejection_line.h"

namespace {

// JPEG pictures shrink on load while their shorter side keeps at least this
// many pixels: twice the screen's height, so that scaling still has a few
// picture pixels for every screen pixel.
constexpr int32_t LeastDecodedSide = 2 * PixelRows;

PictureFile pictureFile;
ScreenPicture picture;
CoveragePlane coverage;
BitPicture bits;
uint8_t codes[CellCount];
uint8_t inks[CellCount];
ColourScreen colourFile;

// What a unit of colour difference (Delta E, in a block of 4 x 4 pixels)
// costs against the structural likeness of that block, which is at most 1.
constexpr float ColourWeight = 0.01f;

// Every colour may be an ink.
constexpr uint16_t AllColours = 0xFFFF;

// The words for a picture too large: its kind's limit, where it has one,
// read again from the file's header.
[[noreturn]] void RejectTooLarge(std::string_view name, const PictureBytes& bytes) {
  const StatedPicture stated = ReadStatedPicture(bytes);
  const SideLimit limit = PlatformSideLimit(stated.kind);
  if (limit.longSide == 0 || CheckPictureSize(stated.width, stated.height) != DecodeOutcome::Decoded) {
    RejectQuoted("", name, " is too large: at most 65535 pixels a side and 268435456 in all.");
  }
  const int64_t pixels = stated.width * stated.height;
  const bool sidesFit = stated.width > 0 && stated.height > 0 &&
                        CheckPictureSize(stated.kind, stated.width, stated.height, pixels) ==
                            DecodeOutcome::Decoded;
  char sides[24];
  const int length = std::snprintf(sides, sizeof sides, "%d x %d", static_cast<int>(limit.longSide),
                                   static_cast<int>(limit.shortSide));
  ErrorText("Error: ");
  ErrorQuoted(name);
  ErrorText(" is too large: at most ");
  ErrorText(std::string_view(sides, static_cast<size_t>(length)));
  ErrorText(" pixels for ");
  ErrorText(PictureKindWords(stated.kind));
  EndRejectedLine(sidesFit ? ", all frames together." : ".");
}

[[noreturn]] void RejectPicture(std::string_view name, DecodeOutcome outcome,
                                const PictureBytes& bytes) {
  switch (outcome) {
    case DecodeOutcome::NotAPicture:
      RejectQuoted("", name, " is not a picture in a format this program reads.");
    case DecodeOutcome::Damaged:
      RejectQuoted("", name, " is damaged or cut short.");
    case DecodeOutcome::NoPixels:
      RejectQuoted("", name, " has no pixels.");
    case DecodeOutcome::TooLarge:
    case DecodeOutcome::Decoded:
      break;
  }
  RejectTooLarge(name, bytes);
}

void DecodeOntoScreen(std::string_view name, const PrepareSettings& settings) {
  OpenPictureFile(name, pictureFile);
  if (pictureFile.size == 0) RejectQuoted("", name, " is empty.");
  if (pictureFile.tooLarge) RejectQuoted("", name, " is larger than 64 MiB.");
  // Transparent parts show the screen's background: black where the light
  // parts are drawn, white where the dark ones are.
  const float paper = settings.darkPartsDrawn ? 1.0f : 0.0f;
  const ResamplingSettings resampling = {settings.fit, {paper, paper, paper}};
  const PictureSink sink = StartResampling(resampling, picture);
  const PictureBytes bytes = ReadPictureBytes(pictureFile);
  DecodeOutcome outcome = DecodePicture(bytes, LeastDecodedSide, sink);
  // A read that failed on the way ends the run with its number, whatever
  // the decoder made of the bytes it did not get.
  CheckIo();
  if (outcome == DecodeOutcome::Decoded && !FinishResampling()) outcome = DecodeOutcome::Damaged;
  if (outcome != DecodeOutcome::Decoded) RejectPicture(name, outcome, bytes);
  ClosePictureFile(pictureFile);
}

// The characters' pixels are white on black, or black on white where the
// dark parts are drawn.
constexpr uint8_t Black = 0;
constexpr uint8_t White = 1;

void ChoosePixels(const PrepareSettings& settings) {
  AdjustTone(picture, settings.tone);
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
  InkRule rule = settings.darkPartsDrawn ? InkRule{White, 1u << Black, 0}
                                         : InkRule{Black, 1u << White, 0};
  if (settings.colour) {
    rule.inks = AllColours;
    rule.colourWeight = ColourWeight;
    rule.background = settings.background != NoColourGiven
                          ? static_cast<uint8_t>(settings.background)
                          : ChooseBackground(picture, AllColours);
  }
  UseGlyphSet(settings.style.set);
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
// glyphs, or one ink on a background, the prepared light and dark unless
// the options say otherwise.
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
                        : settings.darkPartsDrawn      ? Black
                                                       : White;
    const uint8_t paper = settings.background != NoColourGiven
                              ? static_cast<uint8_t>(settings.background)
                          : settings.darkPartsDrawn ? White
                                                    : Black;
    FillColourScreen(ink, paper, paper, screen.colours);
  }
  if (settings.border != NoColourGiven)
    screen.colours.border = static_cast<uint8_t>(settings.border);
}

PreparedScreen screen;
BuiltOutputs built;

}  // namespace

void PreparePicture(std::string_view pictureName, const PrepareOutputs& outputs,
                    const PrepareSettings& settings) {
  ShowNamedLine("Reading picture ", pictureName, "...");
  DecodeOntoScreen(pictureName, settings);
  ChoosePixels(settings);
  SettleScreen(settings, screen);
  OutputStyle style = settings.style;
  style.asmColours = settings.colour;
  // The PNG encoder fails only when it cannot get memory; the run then
  // ends as a file operation would that ran out of it.
  if (!BuildPreparedOutputs(outputs, screen, style, built)) {
    pendingIoError = NotEnoughMemory;
    CheckIo();
  }
  WritePreparedOutputs(outputs, built);
  if (!settings.coloursName.empty()) {
    ShowNamedLine("Writing colour file ", settings.coloursName, "...");
    WriteWholeFile(settings.coloursName, &screen.colours, ColourFileSize);
  }
  ShowLine("done.");
}
