#include "prepare/prepare_run.h"

#include <cstdio>

#include "console/console_lines.h"
#include "files/whole_file.h"
#include "picture/decode_rules.h"
#include "picture/picture_file.h"
#include "prepare/prepare_outputs.h"
#include "prepare/prepare_screen.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "screens/bmp_image.h"
#include "screens/colour_file.h"
#include "screens/rejection_line.h"

namespace {

PictureFile pictureFile;

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
  const PictureSink sink = StartLayingPicture(settings);
  const PictureBytes bytes = ReadPictureBytes(pictureFile);
  DecodeOutcome outcome = DecodePicture(bytes, LeastDecodedSide, sink);
  // A read that failed on the way ends the run with its number, whatever
  // the decoder made of the bytes it did not get.
  CheckIo();
  if (outcome == DecodeOutcome::Decoded && !FinishLayingPicture()) outcome = DecodeOutcome::Damaged;
  if (outcome != DecodeOutcome::Decoded) RejectPicture(name, outcome, bytes);
  ClosePictureFile(pictureFile);
}

PreparedScreen screen;
BuiltOutputs built;

}  // namespace

void PreparePicture(std::string_view pictureName, const PrepareOutputs& outputs,
                    const PrepareSettings& settings) {
  ShowNamedLine("Reading picture ", pictureName, "...");
  DecodeOntoScreen(pictureName, settings);
  ChooseScreen(settings, screen);
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
