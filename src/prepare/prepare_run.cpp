#include "prepare/prepare_run.h"

#include <algorithm>
#include <cstdio>

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "runtime/io_check.h"
#include "picture/decode_rules.h"
#include "picture/picture_file.h"
#include "picture/resampling.h"
#include "prepare/bit_picture.h"
#include "prepare/glyph_method.h"
#include "prepare/ink_palette.h"
#include "prepare/simple_methods.h"
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
uint8_t bmpFile[ImageFileSize];
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
  if (!settings.coloursName.empty()) {
    rule.inks = AllColours;
    rule.colourWeight = ColourWeight;
    rule.background = settings.background != NoColourGiven
                          ? static_cast<uint8_t>(settings.background)
                          : ChooseBackground(picture, AllColours);
  }
  ChooseGlyphs(picture, rule, {settings.normalGlyphsOnly, settings.allGlyphsAlike}, codes, inks);
  std::copy(inks, inks + CellCount, colourFile.inks);
  colourFile.border = rule.background;  // the screen's edge continues its background
  colourFile.background = rule.background;
  DrawGlyphs(codes, bits);
}

}  // namespace

void PreparePicture(std::string_view pictureName, std::string_view outputName,
                    const PrepareSettings& settings) {
  ShowNamedLine("Reading picture ", pictureName, "...");
  DecodeOntoScreen(pictureName, settings);
  ChoosePixels(settings);
  BuildBmpImage(bits.rows, bmpFile);
  ShowNamedLine("Writing 1-bit picture ", outputName, "...");
  WriteWholeFile(outputName, bmpFile, ImageFileSize);
  if (!settings.coloursName.empty()) {
    ShowNamedLine("Writing colour file ", settings.coloursName, "...");
    WriteWholeFile(settings.coloursName, &colourFile, ColourFileSize);
  }
  ShowLine("done.");
}
