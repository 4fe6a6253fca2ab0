#pragma once
#include <cstdint>
#include <string_view>

// A text channel gathers the pieces of a write statement in a 256-byte buffer
// and hands them on when the buffer is full and when the statement ends
// (contract: 256-byte channels, see docs/design.md).
// The console draws them into its window; a handle channel writes them.
// Channel writes never stop the run: a failure is left in pendingIoError.

enum class ChannelState : uint8_t { Closed, Input, Output };

struct TextChannel;
using ChannelOperation = void (*)(TextChannel& channel);

inline constexpr int ChannelBufferSize = 256;

struct TextChannel {
  intptr_t handle;
  ChannelState state;
  uint8_t buffer[ChannelBufferSize];
  uint16_t fillCount;
  uint8_t lineEnd[3];
  uint8_t lineEndLength;
  ChannelOperation emptyBuffer;      // hands on the waiting bytes
  ChannelOperation endOfStatement;   // optional; run by EndWrite and EndLine
};

void WriteText(TextChannel& channel, int32_t width, std::string_view text);
void WriteSigned(TextChannel& channel, int32_t width, int64_t value);
void WriteUnsigned(TextChannel& channel, int32_t width, uint64_t value);
void WriteChar(TextChannel& channel, int32_t width, char character);
void EndWrite(TextChannel& channel);
void EndLine(TextChannel& channel);
