#include "runtime/run_end.h"

#include <cstring>

#include "runtime/error_numbers.h"
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

// Empty operation and end of statement of a channel on a handle.
void WriteToHandle(TextChannel& channel) {
  uint32_t count = channel.fillCount;
  channel.fillCount = 0;
  if (count == 0) return;
  uint32_t written = 0;
  uint16_t error = PlatformWriteFile(channel.handle, channel.buffer, count, &written);
  if (error != NoIoError || written < count) pendingIoError = DiskWriteError;
}

void OpenHandleChannel(TextChannel& channel, FileHandle handle) {
  channel = TextChannel{};
  channel.handle = handle;
  channel.state = ChannelState::Output;
  channel.lineEndLength = static_cast<uint8_t>(std::strlen(PlatformLineEnd));
  std::memcpy(channel.lineEnd, PlatformLineEnd, channel.lineEndLength);
  channel.emptyBuffer = WriteToHandle;
  // Standard handles see every statement as soon as it ends.
  channel.endOfStatement = PlatformIsStandardHandle(handle) ? WriteToHandle : nullptr;
}

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
