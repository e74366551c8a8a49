// Long jobs behind the waiting window, and the unframed exchange of the modem.
#include <gtest/gtest.h>

#include "driver/long_job.h"
#include "errors/texts.h"
#include "support/pty_driver_fixture.h"

namespace zorfp {
namespace {

using std::chrono::milliseconds;
using testing::FromHex;
using testing::Hex;
using testing::PtyPeer;
using testing::Reply;

class LongJobTest : public testing::PtyDriverTest {};

TEST_F(LongJobTest, JobRunsAfterTheDelayOnTheActivePortOfItsClass) {
  Open(VariantId::k05_03);  // the object that opens the window, on peer_
  peer_.SetScript(testing::AnswerAll());
  PtyPeer other_peer;
  other_peer.SetScript(testing::AnswerAll());
  Driver same_class(Traits(VariantId::k05_03));
  Driver other_class(Traits(VariantId::kEP_02));
  ASSERT_TRUE(FPInitEx(same_class, other_peer.path(), 9600, 1, 1));
  ASSERT_FALSE(FPInitEx(other_class, other_peer.path(), 9600, 1, 1)) << "one port, one owner";

  PutLang(*driver_, 0);
  bool ran = false;
  RunLongJob(*driver_, kWaitZReport, texts::kWaitZReport, [&] {
    ran = true;
    EXPECT_EQ(clock_.pauses, std::vector<milliseconds>{milliseconds(1000)}) << "about a second after it shows";
    EXPECT_EQ(module().WaitingWindowText, "Executing Z-report. Please wait...");
    EXPECT_EQ(module().WaitingWindowMode, -1);
    // Every 05-03 exchange goes to the window's port while the job runs...
    EXPECT_TRUE(same_class.Exchange({0x0E}));
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(peer_.FrameCount(), 1u);
  EXPECT_EQ(other_peer.FrameCount(), 0u);
  // ...and to each object's own port again once it is done.
  EXPECT_EQ(module().ActivePort[Index(VariantId::k05_03)], nullptr);
  EXPECT_TRUE(same_class.Exchange({0x0E}));
  EXPECT_EQ(other_peer.FrameCount(), 1u);
}

TEST_F(LongJobTest, ClassesWithoutActivePortIgnoreIt) {
  Open(VariantId::kEP_02);
  peer_.SetScript(testing::AnswerAll());
  PtyPeer elsewhere;
  Driver window_owner(Traits(VariantId::kEP_02));
  ASSERT_TRUE(FPInitEx(window_owner, elsewhere.path(), 9600, 1, 1));
  RunLongJob(window_owner, kWaitSavingReport, texts::kWaitSavingReport, [&] { EXPECT_TRUE(driver_->Exchange({0x0E})); });
  EXPECT_EQ(peer_.FrameCount(), 1u);
  EXPECT_EQ(elsewhere.FrameCount(), 0u);
}

TEST_F(LongJobTest, RawExchangeEndsWithTheFirstEmptyRead) {
  driver_ = std::make_unique<Driver>(Traits(VariantId::k05_03));
  // Read time-out 0: an empty read returns after 2 ms, well inside the 450 ms window.
  ASSERT_TRUE(FPInitEx(*driver_, peer_.path(), 9600, 0, 0));
  peer_.SetRawScript([](const Bytes& chunk) {
    if (chunk != FromHex("55 AA")) return std::vector<Reply>{};
    return std::vector<Reply>{{FromHex("01 02 03")}};
  });
  module().settings.LogRecord = true;
  Bytes answer;
  ASSERT_TRUE(SendRaw(driver_->link(), *driver_->port(), FromHex("55 AA"), answer));
  EXPECT_EQ(Hex(answer), "01 02 03");
  EXPECT_EQ(LogText(), "") << "the raw exchange is not logged";
}

TEST_F(LongJobTest, RawExchangeGivesUpAfterThreeSilentTries) {
  driver_ = std::make_unique<Driver>(Traits(VariantId::kEP_06));
  ASSERT_TRUE(FPInitEx(*driver_, peer_.path(), 9600, 0, 0));
  ExpectSilence();
  int requests = 0;
  peer_.SetRawScript([&](const Bytes&) {
    ++requests;
    return std::vector<Reply>{};
  });
  Bytes answer;
  EXPECT_FALSE(SendRaw(driver_->link(), *driver_->port(), FromHex("55"), answer));
  EXPECT_EQ(requests, 3);
}

}  // namespace
}  // namespace zorfp
