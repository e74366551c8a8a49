#include "link/frame.h"

#include <gtest/gtest.h>

#include "support/pty_peer.h"

namespace zorfp {
namespace {

using testing::FromHex;
using testing::Hex;

struct BuildCase {
  const char* what;
  Byte seq;
  const char* command;
  const char* frame;
};

TEST(BuildFrame, ExactBytes) {
  const BuildCase cases[] = {
      {"line feed, seq 1", 0x01, "0E", "10 02 01 0E F1 10 03"},
      {"sequence number 0x10 is stuffed", 0x10, "26 01", "10 02 10 10 26 01 C9 10 03"},
      {"command byte 0x10 is doubled, checksum over the single value", 0x02, "1C 10 00", "10 02 02 1C 10 10 00 D2 10 03"},
      {"checksum 0x10 is stuffed", 0x01, "EF", "10 02 01 EF 10 10 10 03"},
      {"checksum 0 when the sum wraps", 0xFF, "01", "10 02 FF 01 00 10 03"},
      {"seq 0", 0x00, "00", "10 02 00 00 00 10 03"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(BuildFrame(c.seq, FromHex(c.command))), c.frame) << c.what;
  }
}

TEST(FrameEnd, OddRunOfDleBeforeEtxEndsTheFrame) {
  const struct {
    const char* bytes;
    bool ends;
  } cases[] = {
      {"10 03", true},
      {"00 10 03", true},
      {"00 10 10 03", false},  // stuffed 0x10 followed by data 0x03
      {"00 10 10 10 03", true},
      {"00 10 10 10 10 03", false},
      {"10 10 10 10 10 03", true},
      {"00 10 10 10 10 10 10 10 03", true},
      {"00 10 10 10 10 10 10 10 10 10 03", true},  // nine: still an end marker
      {"00 10 10 10 10 10 10 10 10 03", false},
      {"03", false},
      {"10", false},
  };
  for (const auto& c : cases) EXPECT_EQ(EndsWithFrameEnd(FromHex(c.bytes)), c.ends) << c.bytes;
}

TEST(IsAnswerFrame, Shapes) {
  const struct {
    const char* bytes;
    bool is_frame;
  } cases[] = {
      {"15", true},                       // NAK, any length
      {"15 00", true},
      {"06", false},                      // too short
      {"06 10 02", true},                 // ACK and at least three bytes
      {"16 10 02 00 10 03", true},        // one leading byte of any value
      {"10 02 00 10 03", true},
      {"10 02 00 10 04", false},
      {"16 16 10 02 00 10 03", false},    // two leading bytes that are not ACK
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAnswerFrame(FromHex(c.bytes)), c.is_frame) << c.bytes;
}

TEST(ParseAnswer, DecodesStatusResultReserveAndData) {
  ParsedAnswer a;
  ASSERT_TRUE(ParseAnswer(FromHex("06 10 02 01 0E 00 00 00 F1 10 03"), a));
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.result, 0);
  EXPECT_EQ(a.reserve, 0);
  EXPECT_TRUE(a.data.empty());

  ASSERT_TRUE(ParseAnswer(testing::AnswerFrame(7, 0x30, 0x80, 0x21, 0x03, {0x10, 0x10, 0x16, 0x02}), a));
  EXPECT_EQ(a.status, 0x80);
  EXPECT_EQ(a.result, 0x21);
  EXPECT_EQ(a.reserve, 0x03);
  EXPECT_EQ(Hex(a.data), "10 10 16 02");
}

TEST(ParseAnswer, LeadingAckAndSynAreNotContent) {
  Bytes answer = testing::AnswerFrame(1, 0x0E, 0, 0, 0, {0x55}, /*with_ack=*/false);
  answer.insert(answer.begin(), {0x06, 0x16, 0x16});
  ParsedAnswer a;
  ASSERT_TRUE(ParseAnswer(answer, a));
  EXPECT_EQ(Hex(a.data), "55");
}

TEST(ParseAnswer, ContentEndingInDleWithChecksumDle) {
  // 01 + 0E + D1 + 10 = 0xF0, so the checksum is 0x10 too: the frame ends in five DLE and ETX.
  const Bytes answer = FromHex("06 10 02 01 0E 00 00 00 D1 10 10 10 10 10 03");
  ASSERT_EQ(Hex(answer), Hex(testing::AnswerFrame(1, 0x0E, 0, 0, 0, {0xD1, 0x10})));
  ASSERT_TRUE(EndsWithFrameEnd(answer));
  ASSERT_TRUE(VerifyAnswerChecksum(answer));
  ParsedAnswer a;
  ASSERT_TRUE(ParseAnswer(answer, a));
  EXPECT_EQ(Hex(a.data), "D1 10");

  // Three data bytes 0x10 and a checksum 0x10: nine DLE before ETX.
  const Bytes nine = testing::AnswerFrame(1, 0x0E, 0, 0, 0, {0xB1, 0x10, 0x10, 0x10});
  ASSERT_EQ(Hex(Bytes(nine.end() - 10, nine.end())), "10 10 10 10 10 10 10 10 10 03");
  ASSERT_TRUE(EndsWithFrameEnd(nine));
  ASSERT_TRUE(ParseAnswer(nine, a));
  EXPECT_EQ(Hex(a.data), "B1 10 10 10");
}

TEST(ParseAnswer, Refusals) {
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"wrong checksum", FromHex("06 10 02 01 0E 00 00 00 F2 10 03")},
      {"content of four bytes", FromHex("06 10 02 01 0E 00 00 F1 10 03")},
      {"content of one byte", FromHex("06 10 02 01 FF 10 03")},
      {"no start marker", FromHex("06 01 0E 00 00 00 F1 10 03")},
      {"lone ACK", FromHex("06")},
      {"lone NAK", FromHex("15")},
      {"start and end only", FromHex("06 10 02 10 03")},
      {"garbage", FromHex("41 42 43 44")},
  };
  for (const auto& c : cases) {
    ParsedAnswer a;
    a.data = {1, 2, 3};
    EXPECT_FALSE(ParseAnswer(c.bytes, a)) << c.what;
    EXPECT_TRUE(a.data.empty()) << c.what;
  }
}

TEST(VerifyAnswerChecksum, StuffedBytesCountOnce) {
  for (Byte data = 0; data < 0xFF; ++data) {
    const Bytes answer = testing::AnswerFrame(0x10, data, 0x10, data, 0x10, {data, 0x10, data});
    EXPECT_TRUE(VerifyAnswerChecksum(answer)) << Hex(answer);
    Bytes broken = answer;
    broken[broken.size() - 3] ^= 0x01;
    if (broken[broken.size() - 3] != 0x10 && answer[answer.size() - 3] != 0x10) {
      EXPECT_FALSE(VerifyAnswerChecksum(broken)) << Hex(broken);
    }
  }
}

}  // namespace
}  // namespace zorfp
