#include "driver/conversion_run.h"

#include "bmp/bmp_header.h"
#include "bmp/pixel_loader.h"
#include "console/console_lines.h"
#include "driver/run_state.h"
#include "driver/samebit_limit.h"
#include "files/binary_file.h"
#include "match/cell_matcher.h"
#include "report/statistics_report.h"
#include "runtime/arguments_platform.h"
#include "runtime/command_line.h"
#include "runtime/io_check.h"
#include "runtime/short_text.h"

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
  const ShortText shownInput = ShowName(inputName).text;
  const ShortText shownOutput = ShowName(outputName).text;
  samebitLimit = LimitFromInteger(ParseInteger(TextView(MakeText(limitText))));
  int32_t totalBytesRead = 0;

  ShowOpeningLine(shownInput, " for reading...");
  BinaryFile inputFile;
  BindFileName(inputFile, inputName);
  OpenExistingFile(inputFile);
  CheckIo();
  ReadBmpHeader(inputFile, totalBytesRead);
  ValidateHeader();
  LoadPixelData(inputFile, totalBytesRead, PixelData);
  CloseFile(inputFile);
  CheckIo();
  ShowSigned(totalBytesRead);
  ShowText(" bytes totally read.");
  ShowLineEnd();

  MatchCells(PixelData, dirartMode, ScreenCodes, SameBitsGrid);

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

  PrintStatistics(SameBitsGrid, samebitLimit);
  ShowLine("done.");
}
