#include "runtime/text_channel.h"

#include "runtime/error_numbers.h"
#include "runtime/io_check.h"

namespace {

// Append rules shared by every write: a pending failure or a channel that is
// not open for output swallows the call, and the second of these leaves its
// own error behind.
bool ChannelTakesText(TextChannel& channel) {
  if (pendingIoError != NoIoError) return false;
  if (channel.state == ChannelState::Output) return true;
  pendingIoError = channel.state == ChannelState::Input ? FileNotOpenForOutput : FileNotOpen;
  return false;
}

void AppendBytes(TextChannel& channel, const uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (channel.fillCount == ChannelBufferSize) channel.emptyBuffer(channel);
    channel.buffer[channel.fillCount++] = bytes[i];
  }
}

void AppendSpaces(TextChannel& channel, int64_t count) {
  static const uint8_t space = ' ';
  for (int64_t i = 0; i < count; ++i) AppendBytes(channel, &space, 1);
}

void AppendPadded(TextChannel& channel, int32_t width, const uint8_t* bytes, uint32_t count) {
  if (width > 0 && static_cast<uint32_t>(width) > count) AppendSpaces(channel, width - count);
  AppendBytes(channel, bytes, count);
}

// Writes the decimal digits of magnitude into the end of digits and returns
// where they start.
uint8_t* FormatDecimal(uint64_t magnitude, uint8_t* end) {
  uint8_t* p = end;
  do {
    *--p = static_cast<uint8_t>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  return p;
}

}  // namespace

void WriteText(TextChannel& channel, int32_t width, std::string_view text) {
  if (!ChannelTakesText(channel)) return;
  AppendPadded(channel, width, reinterpret_cast<const uint8_t*>(text.data()),
               static_cast<uint32_t>(text.size()));
}

void WriteSigned(TextChannel& channel, int32_t width, int64_t value) {
  if (!ChannelTakesText(channel)) return;
  uint8_t digits[24];
  uint8_t* end = digits + sizeof digits;
  // The magnitude of the most negative value only fits unsigned.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  uint8_t* start = FormatDecimal(magnitude, end);
  if (value < 0) *--start = '-';
  AppendPadded(channel, width, start, static_cast<uint32_t>(end - start));
}

void WriteUnsigned(TextChannel& channel, int32_t width, uint64_t value) {
  if (!ChannelTakesText(channel)) return;
  uint8_t digits[24];
  uint8_t* end = digits + sizeof digits;
  uint8_t* start = FormatDecimal(value, end);
  AppendPadded(channel, width, start, static_cast<uint32_t>(end - start));
}

void WriteChar(TextChannel& channel, int32_t width, char character) {
  if (!ChannelTakesText(channel)) return;
  if (width > 1) AppendSpaces(channel, width - 1);
  const uint8_t byte = static_cast<uint8_t>(character);
  AppendBytes(channel, &byte, 1);
}

void EndWrite(TextChannel& channel) {
  if (channel.endOfStatement != nullptr) channel.endOfStatement(channel);
}

void EndLine(TextChannel& channel) {
  if (!ChannelTakesText(channel)) return;
  AppendBytes(channel, channel.lineEnd, channel.lineEndLength);
  if (channel.endOfStatement != nullptr) channel.endOfStatement(channel);
}
