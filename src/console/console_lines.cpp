#include "console/console_lines.h"

#include "runtime/arguments_platform.h"
#include "runtime/io_check.h"

TextChannel consoleOutput;

void ShowText(std::string_view text, int32_t width) {
  WriteText(consoleOutput, width, text);
  CheckIo();
}

void ShowSigned(int64_t value, int32_t width) {
  WriteSigned(consoleOutput, width, value);
  CheckIo();
}

void ShowUnsigned(uint64_t value, int32_t width) {
  WriteUnsigned(consoleOutput, width, value);
  CheckIo();
}

void ShowChar(char character, int32_t width) {
  WriteChar(consoleOutput, width, character);
  CheckIo();
}

void ShowStatementEnd() {
  EndWrite(consoleOutput);
  CheckIo();
}

void ShowLineEnd() {
  EndLine(consoleOutput);
  CheckIo();
}

void ShowLine(std::string_view text) {
  ShowText(text);
  ShowLineEnd();
}

void ShowNamedLine(std::string_view before, std::string_view name, std::string_view after) {
  ShowText(before);
  ShowText("\"");
  ShowText(TextView(ShowName(name).text));
  ShowText("\"");
  ShowText(after);
  ShowLineEnd();
}
