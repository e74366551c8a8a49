// The exchange as the printer sees it: frames, resends, waits and time-outs on a real pty.
#include <gtest/gtest.h>

#include <functional>

#include "link/frame.h"
#include "support/pty_driver_fixture.h"

namespace zorfp {
namespace {

using std::chrono::milliseconds;
using testing::AnswerFrame;
using testing::FrameCodeOf;
using testing::FrameSeqOf;
using testing::FromHex;
using testing::Hex;
using testing::Reply;

class ExchangeTest : public testing::PtyDriverTest {
 protected:
  void SetUp() override {
    PtyDriverTest::SetUp();
    Open(VariantId::kEP_02);
  }
  bool Exchange(const char* command_hex) { return driver_->Exchange(FromHex(command_hex)); }
  const LastCall& call() { return module().last_call; }

  // Every frame sent carried the same sequence number.
  void ExpectOneSequenceNumber() {
    const auto frames = peer_.Frames();
    ASSERT_FALSE(frames.empty());
    for (const Bytes& f : frames) EXPECT_EQ(FrameSeqOf(f), FrameSeqOf(frames.front())) << Hex(f);
  }
};

TEST_F(ExchangeTest, WorkedExampleOnTheWire) {
  peer_.SetScript(testing::AnswerAll());
  ASSERT_TRUE(Exchange("0E"));
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 0E F1 10 03"});
  EXPECT_EQ(Hex(module().link.RawAnswer), "06 10 02 01 0E 00 00 00 F1 10 03");
  EXPECT_EQ(module().link.FrameSeq, 1);
  EXPECT_EQ(module().link.ProtocolTag, "EP-02");
}

TEST_F(ExchangeTest, StuffingOnTheWire) {
  peer_.SetScript(testing::AnswerAll());
  module().link.FrameSeq = 0x0F;
  ASSERT_TRUE(Exchange("26 01"));  // sequence 0x10
  ASSERT_TRUE(Exchange("1C 10 00"));
  module().link.FrameSeq = 0x00;
  ASSERT_TRUE(Exchange("EF"));  // checksum 0x10
  module().link.FrameSeq = 0xFE;
  ASSERT_TRUE(Exchange("0E"));  // 0xFF
  ASSERT_TRUE(Exchange("0E"));  // wraps to 0
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 10 10 26 01 C9 10 03",
                           "10 02 11 1C 10 10 00 C3 10 03",
                           "10 02 01 EF 10 10 10 03",
                           "10 02 FF 0E F3 10 03",
                           "10 02 00 0E F2 10 03",
                       }));
}

TEST_F(ExchangeTest, AnswerFieldsAndDataAreDecoded) {
  peer_.SetScript([](const Bytes& f, std::size_t) {
    return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0x00, 0x00, 0x01, FromHex("10 03 16 02"))}};
  });
  ASSERT_TRUE(Exchange("00"));
  EXPECT_EQ(call().AnswerReserve, 0x01);
  EXPECT_EQ(Hex(call().AnswerData), "10 03 16 02");
  EXPECT_TRUE(call().flags.ServiceReportOpen);
  EXPECT_TRUE(clock_.pauses.empty()) << "a 0x16 inside the frame is data, not a busy signal";
}

TEST_F(ExchangeTest, EvenDleRunBeforeEtxDoesNotEndTheAnswer) {
  // The answer's data ends in 10 03: on the wire "10 10 03", which must not end the frame. The
  // rest follows a little later.
  peer_.SetScript([](const Bytes& f, std::size_t) {
    const Bytes whole = AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, FromHex("10 03"));
    const auto cut = whole.begin() + static_cast<long>(Hex(whole).find("10 10 03") / 3 + 3);
    return std::vector<Reply>{{Bytes(whole.begin(), cut)}, {Bytes(cut, whole.end()), milliseconds(50)}};
  });
  ASSERT_TRUE(Exchange("00"));
  EXPECT_EQ(Hex(call().AnswerData), "10 03");
  EXPECT_EQ(peer_.FrameCount(), 1u);
}

TEST_F(ExchangeTest, LeadingAckAndSynBytes) {
  peer_.SetScript([](const Bytes& f, std::size_t) {
    Bytes answer = FromHex("06 16 16");
    const Bytes frame = AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, {0x42}, /*with_ack=*/false);
    answer.insert(answer.end(), frame.begin(), frame.end());
    return std::vector<Reply>{{answer}};
  });
  ASSERT_TRUE(Exchange("00"));
  EXPECT_EQ(Hex(call().AnswerData), "42");
  EXPECT_EQ(peer_.FrameCount(), 1u);
  EXPECT_EQ(clock_.pauses, (std::vector<milliseconds>{milliseconds(300), milliseconds(300)}));
}

TEST_F(ExchangeTest, SilentPrinterGetsSixSendsOfOneNumber) {
  ExpectSilence();
  EXPECT_FALSE(Exchange("00"));
  EXPECT_EQ(peer_.FrameCount(), 6u);
  EXPECT_TRUE(module().link.RawAnswer.empty());
  ExpectOneSequenceNumber();
}

TEST_F(ExchangeTest, SynOnlyPrinterGetsTwentySixSendsOfOneNumber) {
  peer_.SetScript([](const Bytes&, std::size_t) { return std::vector<Reply>{{{0x16}}}; });
  EXPECT_FALSE(Exchange("00"));
  EXPECT_EQ(peer_.FrameCount(), 26u);
  EXPECT_EQ(clock_.pauses.size(), 26u);
  ExpectOneSequenceNumber();
}

TEST_F(ExchangeTest, LostAnswerIsResentWithTheSameNumber) {
  // The printer executed the first frame but its answer was lost: the resend must be
  // recognisable as the same command, whichever way the driver comes to resend.
  const struct {
    const char* what;
    Bytes first_reply;
    std::size_t sends;
  } cases[] = {
      {"silence", {}, 2},
      {"busy", {0x16}, 2},
      {"garbage", FromHex("41 42"), 2},
      {"NAK", {0x15}, 2},
  };
  module().settings.AnswerWaiting = 2;
  for (const auto& c : cases) {
    testing::PtyPeer peer;
    Driver d(Traits(VariantId::k05_03));
    ASSERT_TRUE(FPInitEx(d, peer.path(), 9600, 1, 1));
    const Bytes first = c.first_reply;
    peer.SetScript([first](const Bytes& f, std::size_t i) {
      if (i == 0) return std::vector<Reply>{{first}};
      return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0)}};
    });
    EXPECT_TRUE(d.Exchange({0x12, 0x01})) << c.what;
    const auto frames = peer.Frames();
    ASSERT_EQ(frames.size(), c.sends) << c.what;
    EXPECT_EQ(Hex(frames[1]), Hex(frames[0])) << c.what;
  }
}

TEST_F(ExchangeTest, NakCountsAsAFailedAttempt) {
  ExpectSilence();
  peer_.SetScript([](const Bytes&, std::size_t) { return std::vector<Reply>{{{0x15}}}; });
  EXPECT_FALSE(Exchange("00"));
  EXPECT_EQ(peer_.FrameCount(), 3u);  // attempts 0, 1, 2
  ExpectOneSequenceNumber();
}

TEST_F(ExchangeTest, NakLedFrameIsResentUntilTheAttemptsRunOut) {
  peer_.SetScript([](const Bytes& f, std::size_t) {
    Bytes answer{0x15};
    const Bytes frame = AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, {}, /*with_ack=*/false);
    answer.insert(answer.end(), frame.begin(), frame.end());
    return std::vector<Reply>{{answer}};
  });
  module().settings.RepeatCount = 4;
  Exchange("00");  // the last collected answer is still decoded if its shape and checksum hold
  EXPECT_EQ(peer_.FrameCount(), 5u);
}

// A complete answer that arrives spoiled is sent for again with the same number: the printer
// answers that resend from memory without executing. Only when every attempt brought a spoiled
// answer is there no answer.
TEST_F(ExchangeTest, SpoiledAnswerIsSentForAgainWithTheSameNumber) {
  const auto wrong_checksum = [](const Bytes& f) {
    Bytes answer = AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, {0x42});
    answer[answer.size() - 3] ^= 0x01;
    return answer;
  };
  const auto short_content = [](const Bytes&) { return FromHex("06 10 02 01 00 00 FF 10 03"); };
  const struct {
    const char* what;
    std::function<Bytes(const Bytes&)> spoiled;
    std::size_t spoiled_times;
    Byte repeat_count;
    bool decoded;
    std::size_t sends;
  } cases[] = {
      {"checksum, then good", wrong_checksum, 1, 2, true, 2},
      {"checksum twice, then good", wrong_checksum, 2, 2, true, 3},
      {"checksum on every attempt", wrong_checksum, 99, 2, false, 3},
      {"checksum, no resends allowed", wrong_checksum, 99, 0, false, 1},
      {"checksum on every attempt, four allowed", wrong_checksum, 99, 4, false, 5},
      {"short content, then good", short_content, 1, 2, true, 2},
      {"short content on every attempt", short_content, 99, 2, false, 3},
  };
  for (const auto& c : cases) {
    testing::PtyPeer peer;
    Driver d(Traits(VariantId::k05_03));
    ASSERT_TRUE(FPInitEx(d, peer.path(), 9600, 1, 1));
    module().settings.RepeatCount = c.repeat_count;
    peer.SetScript([&c](const Bytes& f, std::size_t i) {
      if (i < c.spoiled_times) return std::vector<Reply>{{c.spoiled(f)}};
      return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, {0x42})}};
    });
    module().last_call.ReportedResult = 77;
    EXPECT_EQ(d.Exchange({0x12, 0x01}), c.decoded) << c.what;
    EXPECT_EQ(call().ReportedResult, 0) << c.what << ": cleared by the exchange; the caller reports";
    if (c.decoded) {
      EXPECT_EQ(Hex(call().AnswerData), "42") << c.what;
    }
    const auto frames = peer.Frames();
    ASSERT_EQ(frames.size(), c.sends) << c.what;
    for (const Bytes& f : frames) EXPECT_EQ(Hex(f), Hex(frames.front())) << c.what;
  }
}

// Line noise ahead of an answer that then arrives whole does not cost an attempt: the frame's
// checksum decides. A NAK among the bytes ahead is the printer's refusal and still counts.
TEST_F(ExchangeTest, NoiseAheadOfAWholeAnswer) {
  const struct {
    const char* ahead;
    bool with_ack;
    std::size_t sends;
  } cases[] = {
      {"41 7F C3", true, 1},
      {"41 7F C3", false, 1},
      {"41 06 42", true, 1},  // an ACK among the noise: the answer starts at the last one
      {"41 15 42", true, 2},
      {"", true, 1},
  };
  for (const auto& c : cases) {
    testing::PtyPeer peer;
    Driver d(Traits(VariantId::kEP_06));
    ASSERT_TRUE(FPInitEx(d, peer.path(), 9600, 1, 1));
    peer.SetScript([&c](const Bytes& f, std::size_t i) {
      Bytes answer = i == 0 ? FromHex(c.ahead) : Bytes{};
      const Bytes frame = AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0x04, {0x42}, c.with_ack);
      answer.insert(answer.end(), frame.begin(), frame.end());
      return std::vector<Reply>{{answer}};
    });
    EXPECT_TRUE(d.Exchange({0x00})) << c.ahead;
    EXPECT_EQ(peer.FrameCount(), c.sends) << c.ahead;
    EXPECT_EQ(Hex(call().AnswerData), "42") << c.ahead;
    EXPECT_TRUE(call().flags.PaperOutNotice) << c.ahead;
    if (c.sends == 1) {
      EXPECT_EQ(Hex(module().link.RawAnswer).substr(0, std::string(c.ahead).size()), c.ahead)
          << "the raw answer keeps what arrived";
    }
  }
}

// A decoded answer the caller turns down is a failed attempt as well; after the last attempt the
// decoded answer still counts as one, for the caller to report what is wrong with it.
TEST_F(ExchangeTest, AnswerTurnedDownByTheCallerIsSentForAgain) {
  peer_.SetScript([](const Bytes& f, std::size_t i) {
    return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, {static_cast<Byte>(i)})}};
  });
  int asked = 0;
  EXPECT_TRUE(driver_->Exchange({0x00}, [&] { return ++asked, call().AnswerData == Bytes{0x01}; }));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(peer_.FrameCount(), 2u);
  EXPECT_TRUE(driver_->Exchange({0x00}, [] { return false; }));
  const auto frames = peer_.Frames();
  ASSERT_EQ(frames.size(), 5u);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(FrameSeqOf(frames[i]), i < 2 ? 1 : 2) << i;
  }
}

TEST_F(ExchangeTest, AnswerFlagsByClass) {
  const auto flags_after = [&](VariantId id) {
    testing::PtyPeer peer;
    Driver d(Traits(id));
    EXPECT_TRUE(FPInitEx(d, peer.path(), 9600, 1, 1));
    peer.SetScript([](const Bytes& f, std::size_t) {
      return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0xA8, 0x00, 0x87)}};
    });
    EXPECT_TRUE(d.Exchange({0x00}));
    return module().last_call.flags;
  };
  const AnswerFlags ep06 = flags_after(VariantId::kEP_06);
  EXPECT_TRUE(ep06.ServiceReportOpen);
  EXPECT_TRUE(ep06.FinishAfterError);
  EXPECT_TRUE(ep06.PaperOutNotice);
  EXPECT_TRUE(ep06.NoPersonalization);
  EXPECT_FALSE(ep06.CommandAccepted);
  EXPECT_TRUE(ep06.ClockError);
  EXPECT_TRUE(ep06.DayOver24Hours);
  const AnswerFlags ep02 = flags_after(VariantId::kEP_02);
  EXPECT_TRUE(ep02.ServiceReportOpen);
  EXPECT_FALSE(ep02.PaperOutNotice);
  EXPECT_FALSE(ep02.NoPersonalization);
}

TEST_F(ExchangeTest, CallStateIsClearedForEveryExchange) {
  module().last_call.ReportedResult = 5;
  module().last_call.ReportedStatus = 6;
  module().last_call.AnswerReserve = 7;
  module().last_call.ErrorText = "old";
  peer_.SetScript(testing::AnswerAll());
  ASSERT_TRUE(Exchange("00"));
  EXPECT_EQ(call().ReportedResult, 0);
  EXPECT_EQ(call().ReportedStatus, 0);
  EXPECT_EQ(call().AnswerReserve, 0);
  EXPECT_EQ(call().ErrorText, "");
}

TEST_F(ExchangeTest, FailedDecodeLeavesTheFlagsOfThePreviousCall) {
  peer_.SetScript([](const Bytes& f, std::size_t i) {
    if (i == 0) return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0x08, 0, 0)}};
    return std::vector<Reply>{{FromHex("06 10 02 01 00 00 00 00 00 10 03")}};  // bad checksum
  });
  ASSERT_TRUE(Exchange("00"));
  ASSERT_FALSE(Exchange("00"));
  EXPECT_TRUE(call().flags.ClockError);
}

TEST_F(ExchangeTest, NoOpenPortSendsNothing) {
  Driver closed(Traits(VariantId::kEP_02));
  EXPECT_FALSE(closed.Exchange({0x00}));
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(ExchangeTest, LogOfOneExchange) {
  module().settings.LogRecord = true;
  peer_.SetScript([](const Bytes& f, std::size_t i) {
    if (i == 0) return std::vector<Reply>{{{0x16}}};
    return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0)}};
  });
  ASSERT_TRUE(Exchange("0E"));
  EXPECT_EQ(LogWithoutStamps(),
            "\r\n<stamp> [EP-02] Snd ---> (func ID = 14) Data:  0x10 0x02 0x01 0x0E 0xF1 0x10 0x03\r\n"
            "<stamp> [EP-02] WAITING 300 ms\r\n"
            "<stamp> [EP-02] Rcv <--- (receive data) Data:  0x16\r\n"
            "\r\n<stamp> [EP-02] Snd ---> (func ID = 14) Data:  0x10 0x02 0x01 0x0E 0xF1 0x10 0x03\r\n"
            "<stamp> [EP-02] Rcv <--- (receive data) Data:  0x06 0x10 0x02 0x01 0x0E 0x00 0x00 0x00 0xF1 0x10 0x03\r\n");
}

TEST_F(ExchangeTest, SilentPrinterInTheLog) {
  ExpectSilence();
  module().settings.LogRecord = true;
  module().settings.RepeatCount = 0;
  module().link.NoAnswerLimit = 0;  // one send is enough to see the record
  EXPECT_FALSE(Exchange("0E"));
  EXPECT_NE(LogWithoutStamps().find("<stamp> [EP-02] Rcv <--- (receive data) Data: \r\n"), std::string::npos);
}

TEST_F(ExchangeTest, UnwritableLogNeverAbandonsAFrame) {
  module().settings.LogRecord = true;
  module().env.log_folder = "/proc/zorfp-cannot-be-here";
  peer_.SetScript(testing::AnswerAll());
  EXPECT_TRUE(Exchange("0E"));
  EXPECT_NE(module().link.LastLogError.find("I/O error"), std::string::npos);
}

}  // namespace
}  // namespace zorfp
