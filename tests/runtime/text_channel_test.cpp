// The append rules of a text channel: fill, formatting, states and the
// pending error. A capturing channel records what each statement hands on.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "runtime/io_check.h"
#include "runtime/run_end.h"
#include "runtime/text_channel.h"

namespace {

std::string handedOn;
int statementEnds = 0;

void CaptureBuffer(TextChannel& channel) {
  handedOn.append(reinterpret_cast<const char*>(channel.buffer), channel.fillCount);
  channel.fillCount = 0;
}

void CaptureStatement(TextChannel& channel) {
  CaptureBuffer(channel);
  ++statementEnds;
}

TextChannel CapturingChannel(ChannelState state = ChannelState::Output) {
  TextChannel channel{};
  channel.state = state;
  channel.lineEnd[0] = '\r';
  channel.lineEnd[1] = '\n';
  channel.lineEndLength = 2;
  channel.emptyBuffer = CaptureBuffer;
  channel.endOfStatement = CaptureStatement;
  return channel;
}

class TextChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pendingIoError = 0;
    handedOn.clear();
    statementEnds = 0;
  }
  void TearDown() override { pendingIoError = 0; }

  // Everything appended so far, handed on or still waiting.
  std::string Appended(const TextChannel& channel) {
    return handedOn + std::string(reinterpret_cast<const char*>(channel.buffer), channel.fillCount);
  }
};

struct AppendCase {
  const char* name;
  void (*append)(TextChannel&);
  const char* expected;
};

// Fill goes first; a text as long as the width or longer is never cut.
TEST_F(TextChannelTest, AppendsFillToTheWidthAndFormatNumbers) {
  const AppendCase cases[] = {
      {"text width 5", [](TextChannel& c) { WriteText(c, 5, "abc"); }, "  abc"},
      {"text width 3", [](TextChannel& c) { WriteText(c, 3, "abc"); }, "abc"},
      {"text width 2", [](TextChannel& c) { WriteText(c, 2, "abc"); }, "abc"},
      {"text width -4", [](TextChannel& c) { WriteText(c, -4, "abc"); }, "abc"},
      {"empty text width 3", [](TextChannel& c) { WriteText(c, 3, ""); }, "   "},
      {"sign counts in width", [](TextChannel& c) { WriteSigned(c, 4, -5); }, "  -5"},
      {"int32 minimum", [](TextChannel& c) { WriteSigned(c, 0, -2147483648LL); }, "-2147483648"},
      {"zero", [](TextChannel& c) { WriteSigned(c, 0, 0); }, "0"},
      {"wider than width", [](TextChannel& c) { WriteSigned(c, 3, 1000); }, "1000"},
      {"int64 minimum", [](TextChannel& c) { WriteSigned(c, 0, INT64_MIN); },
       "-9223372036854775808"},
      {"uint64 maximum", [](TextChannel& c) { WriteUnsigned(c, 0, UINT64_MAX); },
       "18446744073709551615"},
      {"unsigned width 4", [](TextChannel& c) { WriteUnsigned(c, 4, 7); }, "   7"},
      {"char width 3", [](TextChannel& c) { WriteChar(c, 3, 'x'); }, "  x"},
      {"char width 1", [](TextChannel& c) { WriteChar(c, 1, 'x'); }, "x"},
      {"char width -2", [](TextChannel& c) { WriteChar(c, -2, 'x'); }, "x"},
  };
  for (const AppendCase& c : cases) {
    TextChannel channel = CapturingChannel();
    handedOn.clear();
    c.append(channel);
    EXPECT_EQ(Appended(channel), c.expected) << c.name;
  }
}

TEST_F(TextChannelTest, EndLineAppendsTheLineEndAndEndsTheStatement) {
  TextChannel channel = CapturingChannel();
  WriteText(channel, 0, "hi");
  EXPECT_EQ(statementEnds, 0);
  EndLine(channel);
  EXPECT_EQ(handedOn, "hi\r\n");
  EXPECT_EQ(statementEnds, 1);
  EXPECT_EQ(channel.fillCount, 0);
}

TEST_F(TextChannelTest, EndWriteRunsTheStatementEndWithoutALineEnd) {
  TextChannel channel = CapturingChannel();
  WriteText(channel, 0, "hi");
  EndWrite(channel);
  EXPECT_EQ(handedOn, "hi");
  EXPECT_EQ(statementEnds, 1);

  channel.endOfStatement = nullptr;  // a channel without one keeps its bytes
  WriteText(channel, 0, "x");
  EndWrite(channel);
  EXPECT_EQ(channel.fillCount, 1);
}

TEST_F(TextChannelTest, AFullBufferIsHandedOnAndFillingGoesOn) {
  TextChannel channel = CapturingChannel();
  std::string longText(300, 'a');
  longText[255] = 'b';
  longText[256] = 'c';
  WriteText(channel, 600, longText);  // 300 spaces, then the text
  EXPECT_EQ(handedOn.size(), 512u);  // two full buffers so far
  EXPECT_EQ(Appended(channel), std::string(300, ' ') + longText);
  EXPECT_EQ(statementEnds, 0);
}

TEST_F(TextChannelTest, APendingErrorSwallowsEveryAppendButNotEndWrite) {
  TextChannel channel = CapturingChannel();
  WriteText(channel, 0, "kept");
  pendingIoError = 101;
  WriteText(channel, 0, "a");
  WriteSigned(channel, 0, 1);
  WriteUnsigned(channel, 0, 2);
  WriteChar(channel, 0, 'c');
  EndLine(channel);
  EXPECT_EQ(Appended(channel), "kept");
  EXPECT_EQ(statementEnds, 0);
  EndWrite(channel);
  EXPECT_EQ(statementEnds, 1);
  EXPECT_EQ(pendingIoError, 101);
}

TEST_F(TextChannelTest, AChannelNotOpenForOutputReportsWhy) {
  const struct {
    ChannelState state;
    uint16_t expected;
  } cases[] = {{ChannelState::Closed, 103}, {ChannelState::Input, 105}};
  using Append = void (*)(TextChannel&);
  const Append appends[] = {
      [](TextChannel& c) { WriteText(c, 0, "a"); },
      [](TextChannel& c) { WriteSigned(c, 0, -1); },
      [](TextChannel& c) { WriteUnsigned(c, 0, 1); },
      [](TextChannel& c) { WriteChar(c, 0, 'a'); },
      [](TextChannel& c) { EndLine(c); },
  };
  for (const auto& c : cases) {
    for (Append append : appends) {
      TextChannel channel = CapturingChannel(c.state);
      pendingIoError = 0;
      append(channel);
      EXPECT_EQ(pendingIoError, c.expected);
      EXPECT_EQ(channel.fillCount, 0);
    }
  }
  // Ending a statement tests neither the state nor the pending error.
  TextChannel closed = CapturingChannel(ChannelState::Closed);
  pendingIoError = 0;
  EndWrite(closed);
  EXPECT_EQ(pendingIoError, 0);
  EXPECT_EQ(statementEnds, 1);
}

}  // namespace
