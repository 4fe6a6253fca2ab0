// The append rules of a text channel: fill, number formats, full buffers,
// statement ends, and the states and pending error that swallow a write.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
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

// Each case: the text appended, the statements ended and the error left.
TEST(TextChannel, AppendRules) {
  constexpr ChannelState Out = ChannelState::Output, Closed = ChannelState::Closed, In = ChannelState::Input;
  const std::tuple<ChannelState, void (*)(TextChannel&), std::string> cases[] = {
      {Out, [](TextChannel& c) { WriteText(c, 5, "abc"), WriteText(c, 2, "abc"), WriteText(c, -4, ""), WriteText(c, 3, ""); },
       "  abcabc   |0|0"},
      {Out, [](TextChannel& c) { WriteSigned(c, 4, -5), WriteSigned(c, 3, 1000), WriteSigned(c, 0, 0); }, "  -510000|0|0"},
      {Out, [](TextChannel& c) { WriteSigned(c, 0, INT64_MIN); }, "-9223372036854775808|0|0"},
      {Out, [](TextChannel& c) { WriteUnsigned(c, 21, UINT64_MAX); }, " 18446744073709551615|0|0"},
      {Out, [](TextChannel& c) { WriteChar(c, 3, 'x'), WriteChar(c, -2, 'y'); }, "  xy|0|0"},
      // Full buffers are handed on in the middle of a statement.
      {Out, [](TextChannel& c) { WriteText(c, 600, std::string(300, 'a')); }, std::string(300, ' ') + std::string(300, 'a') + "|0|0"},
      {Out, [](TextChannel& c) { WriteText(c, 0, "hi"), EndLine(c), WriteChar(c, 0, '!'); }, "hi\r\n!|1|0"},
      {Out, [](TextChannel& c) { WriteText(c, 0, "hi"), EndWrite(c); }, "hi|1|0"},
      // A pending failure swallows every append, but a statement still ends.
      {Out, [](TextChannel& c) {
         WriteText(c, 0, "kept"), pendingIoError = 101, WriteText(c, 0, "a"), WriteSigned(c, 0, 1);
         WriteUnsigned(c, 0, 2), WriteChar(c, 0, 'c'), EndLine(c), EndWrite(c);
       }, "kept|1|101"},
      {Closed, [](TextChannel& c) { WriteText(c, 0, "a"); }, "|0|103"},     {In, [](TextChannel& c) { EndLine(c); }, "|0|105"},
      {In, [](TextChannel& c) { WriteSigned(c, 0, -1); }, "|0|105"},      {Closed, [](TextChannel& c) { EndWrite(c); }, "|1|0"},
      {Closed, [](TextChannel& c) { WriteUnsigned(c, 0, 1); }, "|0|103"}, {In, [](TextChannel& c) { WriteChar(c, 0, 'a'); }, "|0|105"},
  };
  for (const auto& [state, write, expected] : cases) {
    TextChannel channel{0, state, {}, 0, {'\r', '\n'}, 2, HandOn, EndStatement};
    handedOn.clear(), statementEnds = pendingIoError = 0;
    write(channel), HandOn(channel);
    EXPECT_EQ(handedOn + "|" + std::to_string(statementEnds) + "|" + std::to_string(std::exchange(pendingIoError, 0)), expected);
  }
}

}  // namespace
