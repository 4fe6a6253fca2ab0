#include "screens/program_help.h"

#include "runtime/arguments_platform.h"
#include "runtime/command_line.h"
#include "runtime/error_numbers.h"
#include "runtime/handle_channel.h"
#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/short_text.h"

namespace {

// The project's version, as the build names it.
constexpr std::string_view ProgramVersion = CELLGLYPH_VERSION;

// Opened only to answer --help and --version.
TextChannel standardOutput;

constexpr UsageLine HelpAndVersionUsage[] = {
    {"       ", true, " --help | --version"},
    {"", false, "Shows this usage, or the version, on standard output."},
};

void WriteUsageLine(TextChannel& channel, const UsageLine& line) {
  WriteText(channel, 0, line.lead);
  if (line.namesProgram) WriteText(channel, 0, TextView(ArgumentText(0)));
  WriteText(channel, 0, line.text);
  EndLine(channel);
}

[[noreturn]] void WriteUsageAndEnd(TextChannel& channel, const ProgramHelp& help,
                                   int32_t status) {
  for (const UsageLine& line : help.usage) WriteUsageLine(channel, line);
  for (const UsageLine& line : HelpAndVersionUsage) WriteUsageLine(channel, line);
  CheckIo();
  EndRun(status);
}

bool ArgumentGiven(std::string_view word) {
  for (int index = 1; index <= ArgumentCount(); ++index)
    if (ArgumentWhole(index) == word) return true;
  return false;
}

}  // namespace

void AnswerHelpOrVersion(const ProgramHelp& help) {
  const bool helpAsked = ArgumentGiven("--help");
  if (!helpAsked && !ArgumentGiven("--version")) return;
  OpenHandleChannel(standardOutput, PlatformStandardHandle(StandardStream::Output));
  if (helpAsked) WriteUsageAndEnd(standardOutput, help, 0);
  WriteText(standardOutput, 0, help.name);
  WriteText(standardOutput, 0, " ");
  WriteText(standardOutput, 0, ProgramVersion);
  EndLine(standardOutput);
  CheckIo();
  EndRun(0);
}

void RejectCommandLine(const ProgramHelp& help) {
  WriteUsageAndEnd(standardError, help, RunRejected);
}
