#include "runtime/run_end.h"

#include "runtime/error_numbers.h"
#include "runtime/handle_channel.h"
#include "runtime/handle_platform.h"
#include "runtime/io_check.h"
#include "runtime/process_platform.h"
#include "runtime/text_channel.h"

TextChannel standardError;

namespace {

constexpr int MaxCallerLines = 9;

struct FailureRecord {
  bool recorded;
  uint16_t failureNumber;
  uintptr_t failureLocation;
  uintptr_t callers[MaxCallerLines];
  int callerCount;
};

FailureRecord failure;
int32_t exitStatus = 0;
ConsoleFlush consoleFlush = nullptr;

void WriteLocation(uintptr_t location) {
  static const char hexDigits[] = "0123456789ABCDEF";
  char text[16];
  for (int i = 15; i >= 0; --i) {
    text[i] = hexDigits[location & 0xF];
    location >>= 4;
  }
  WriteText(standardError, 0, std::string_view(text, sizeof text));
}

void WriteFailureReport() {
  WriteText(standardError, 0, "Runtime error ");
  WriteUnsigned(standardError, 0, failure.failureNumber);
  WriteText(standardError, 0, " at $");
  WriteLocation(failure.failureLocation);
  EndLine(standardError);
  WriteText(standardError, 0, "  $");
  WriteLocation(failure.failureLocation);
  EndLine(standardError);
  for (int i = 0; i < failure.callerCount; ++i) {
    WriteText(standardError, 0, "  $");
    WriteLocation(failure.callers[i]);
    EndLine(standardError);
  }
  EndLine(standardError);
}

}  // namespace

void StartRuntime() {
  PlatformStartHandles();
  exitStatus = 0;
  failure = FailureRecord{};
  consoleFlush = nullptr;
  OpenHandleChannel(standardError, PlatformStandardHandle(StandardStream::Error));
  pendingIoError = NoIoError;
}

void SetConsoleFlush(ConsoleFlush flush) { consoleFlush = flush; }

void RecordFailure(uint16_t number, uintptr_t location) {
  failure.recorded = true;
  failure.failureNumber = number;
  failure.failureLocation = location;
  // The call chain starts inside this routine: keep the return addresses
  // beyond the failure location, which is where the caller of CheckIo is.
  uintptr_t chain[64];
  int count = PlatformCaptureCallChain(chain, 64);
  int first = 0;
  while (first < count && chain[first] != location) ++first;
  ++first;
  failure.callerCount = 0;
  for (int i = first; i < count && failure.callerCount < MaxCallerLines; ++i) {
    if (chain[i] == 0) break;
    failure.callers[failure.callerCount++] = chain[i];
  }
}

void EndRun(int32_t status) {
  exitStatus = status;
  if (failure.recorded) WriteFailureReport();
  if (consoleFlush != nullptr) consoleFlush();
  if (standardError.state == ChannelState::Output) WriteToHandle(standardError);
  PlatformExitProcess(exitStatus);
}
