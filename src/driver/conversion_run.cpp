#include "driver/conversion_run.h"

#include "bmp/bmp_header.h"
#include "bmp/pixel_loader.h"
#include "console/console_lines.h"
#include "driver/command_line.h"
#include "driver/run_options.h"
#include "driver/short_text.h"
#include "files/binary_file.h"
#include "files/io_check.h"
#include "match/cell_matcher.h"
#include "match/match_results.h"
#include "report/statistics_report.h"

namespace {

void ShowOpeningLine(const ShortText& name, std::string_view purpose) {
  ShortText line{};
  AppendText(line, "Opening file \"");
  AppendText(line, TextView(name));
  AppendText(line, "\"");
  AppendText(line, purpose);
  ShowLine(TextView(line));
}

}  // namespace

void RunConversion(std::string_view inputName, std::string_view outputName,
                   std::string_view limitText) {
  const ShortText shownInput = MakeText(inputName);
  const ShortText shownOutput = MakeText(outputName);
  samebitLimit = LimitFromInteger(ParseInteger(TextView(MakeText(limitText))));
  int32_t totalBytesRead = 0;

  ShowOpeningLine(shownInput, " for reading...");
  BinaryFile inputFile;
  BindFileName(inputFile, inputName);
  OpenExistingFile(inputFile);
  CheckIo();
  ReadBmpHeader(inputFile, totalBytesRead);
  ValidateHeader();
  LoadPixelData(inputFile, totalBytesRead);
  CloseFile(inputFile);
  CheckIo();
  ShowSigned(totalBytesRead);
  ShowText(" bytes totally read.");
  ShowLineEnd();

  MatchCells();

  // The output is only touched once the input was read, accepted and matched.
  ShowOpeningLine(shownOutput, " for writing...");
  BinaryFile outputFile;
  BindFileName(outputFile, outputName);
  CreateEmptyFile(outputFile);
  CheckIo();
  WriteBlock(outputFile, ScreenCodes, CellCount);
  CheckIo();
  CloseFile(outputFile);
  CheckIo();

  PrintStatistics();
  ShowLine("done.");
}
