// The append rules of a text channel: fill, number formats, full buffers,
// statement ends, and the states and pending error that swallow a write.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "runtime/io_check.h"
#include "runtime/text_channel.h"

namespace {

std::string handedOn;  // what the channel handed on, then what still waits
int statementEnds = 0;

void HandOn(TextChannel& channel) {
  handedOn.append(reinterpret_cast<const char*>(channel.buffer), channel.fillCount);
  channel.fillCount = 0;
}

void EndStatement(TextChannel& channel) { HandOn(channel), ++statementEnds; }

using Appends = void (*)(TextChannel&);
using C = TextChannel;  // in the table's appends

void Texts(TextChannel& c) {
  WriteText(c, 5, "abc"), WriteText(c, 2, "abc"), WriteText(c, -4, ""), WriteText(c, 3, "");
}
void Numbers(TextChannel& c) {
  WriteSigned(c, 4, -5), WriteSigned(c, 3, 1000), WriteSigned(c, 0, 0);
}
// A full buffer is handed on in the middle of a statement.
void Long(TextChannel& c) { WriteText(c, 600, std::string(300, 'a')); }
// A pending failure swallows every append, but a statement still ends.
void AfterFailure(TextChannel& c) {
  WriteText(c, 0, "kept"), pendingIoError = 101, WriteText(c, 0, "a"), WriteSigned(c, 0, 1);
  WriteUnsigned(c, 0, 2), WriteChar(c, 0, 'c'), EndLine(c), EndWrite(c);
}

TEST(TextChannel, AppendRules) {
  using enum ChannelState;
  constexpr ChannelState Out = Output, In = Input;
  const std::string blanks300(300, ' '), a300(300, 'a');
  const struct {
    ChannelState state;
    Appends appends;
    std::string handedOn;
    int statementEnds;
    uint16_t error;
  } cases[] = {
      {Out, Texts, "  abcabc   ", 0, 0},
      {Out, Numbers, "  -510000", 0, 0},
      {Out, [](C& c) { WriteSigned(c, 0, INT64_MIN); }, "-9223372036854775808", 0, 0},
      {Out, [](C& c) { WriteUnsigned(c, 21, UINT64_MAX); }, " 18446744073709551615", 0, 0},
      {Out, [](C& c) { WriteChar(c, 3, 'x'), WriteChar(c, -2, 'y'); }, "  xy", 0, 0},
      {Out, Long, blanks300 + a300, 0, 0},
      {Out, [](C& c) { WriteText(c, 0, "hi"), EndLine(c), WriteChar(c, 0, '!'); }, "hi\r\n!", 1, 0},
      {Out, [](C& c) { WriteText(c, 0, "hi"), EndWrite(c); }, "hi", 1, 0},
      {Out, AfterFailure, "kept", 1, 101},
      {Closed, [](C& c) { WriteText(c, 0, "a"); }, "", 0, 103},
      {Closed, [](C& c) { WriteUnsigned(c, 0, 1); }, "", 0, 103},
      {Closed, [](C& c) { EndWrite(c); }, "", 1, 0},
      {In, [](C& c) { EndLine(c); }, "", 0, 105},
      {In, [](C& c) { WriteSigned(c, 0, -1); }, "", 0, 105},
      {In, [](C& c) { WriteChar(c, 0, 'a'); }, "", 0, 105},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    TextChannel channel{0, c.state, {}, 0, {'\r', '\n'}, 2, HandOn, EndStatement};
    handedOn.clear(), statementEnds = pendingIoError = 0;
    c.appends(channel), HandOn(channel);
    EXPECT_EQ(handedOn, c.handedOn);
    EXPECT_EQ(statementEnds, c.statementEnds);
    EXPECT_EQ(std::exchange(pendingIoError, 0), c.error);
  }
}

}  // namespace
