#include "runtime/handle_channel.h"

#include <cstring>

#include "runtime/error_numbers.h"
#include "runtime/io_check.h"

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
  channel.endOfStatement = PlatformIsStandardHandle(handle) ? WriteToHandle : nullptr;
}
