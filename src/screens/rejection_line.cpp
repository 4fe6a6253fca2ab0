#include "screens/rejection_line.h"

#include "runtime/arguments_platform.h"
#include "runtime/error_numbers.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/short_text.h"

void ErrorText(std::string_view text) { WriteText(standardError, 0, text); }

void ErrorQuoted(std::string_view value) {
  ErrorText("\"");
  ErrorText(TextView(ShowName(value).text));
  ErrorText("\"");
}

void EndRejectedLine(std::string_view text) {
  ErrorText(text);
  EndLine(standardError);
  CheckIo();
  EndRun(RunRejected);
}

void RejectQuoted(std::string_view before, std::string_view value, std::string_view after) {
  ErrorText("Error: ");
  ErrorText(before);
  ErrorQuoted(value);
  EndRejectedLine(after);
}
