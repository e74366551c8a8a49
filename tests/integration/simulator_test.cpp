// The driver against the simulator: the foundation's members on every class, and what the
// driver makes of a printer that loses, refuses, delays or garbles its answers.
#include <gtest/gtest.h>

#include "errors/codepage.h"
#include "support/sim_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using sim::FaultKind;
using sim::FaultRule;

class SimulatorTest : public testing::SimDriverTest {
 protected:
  std::string Text() { return AnsiToUtf8(GetTextErrorMessage(d())); }
};

TEST_F(SimulatorTest, OpenChangeRateAndCloseOnEveryClass) {
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01, VariantId::kEP_02, VariantId::kEP_05,
                       VariantId::kEP_06, VariantId::k05_02, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    const std::uint64_t before = sim_->counters().commands_executed;
    if (id == VariantId::kEP_01) {
      Call(d(), "FPChangeRate", 1);
      EXPECT_EQ(GetTextErrorMessage(d()), "");
    } else if (id != VariantId::k08_01) {
      EXPECT_TRUE(FPChangeBaudRate(d(), 1, false));
      EXPECT_EQ(GetByteResult(d()), 0);
      EXPECT_EQ(GetByteStatus(d()), 0);
    }
    EXPECT_EQ(sim_->counters().commands_executed, before + (id == VariantId::k08_01 ? 0 : 1));
    EXPECT_TRUE(FPClose(d()));
    EXPECT_FALSE(FPClose(d()));
    TearDown();
    SetUp();
  }
}

TEST_F(SimulatorTest, SilentPrinter) {
  sim::SimulatorOptions o;
  o.faults[FaultKind::kSilent] = FaultRule::Always();
  Start(VariantId::kEP_05, o);
  module().settings.AnswerWaiting = 1;
  EXPECT_FALSE(FPChangeBaudRate(d(), 0));
  EXPECT_EQ(GetByteResult(d()), 101);
  EXPECT_EQ(GetByteStatus(d()), 255);
  EXPECT_EQ(Text(), "ЭККР не отвечает!");
  EXPECT_EQ(sim_->counters().frames_received, 6u);
}

TEST_F(SimulatorTest, ForcedStatusAndResultBecomeTexts) {
  const struct {
    VariantId id;
    Byte lang;
    sim::ForcedAnswer answer;
    Byte code, status;
    const char* text;
  } cases[] = {
      {VariantId::kEP_02, 0, {0x00, 21, 0x00, {}}, 21, 0, "Incorrect password"},
      {VariantId::kEP_02, 1, {0x00, 21, 0x00, {}}, 21, 0, "Неверный пароль"},
      {VariantId::kEP_02, 2, {0x00, 42, 0x01, {}}, 42, 0, "Команда заборонена, відкритий службовий звіт"},
      {VariantId::kEP_02, 0, {0x03, 0, 0x00, {}}, 0, 3, "Printer is not ready\r\nNo paper\r\n"},
      {VariantId::kEP_06, 0, {0x02, 0, 0x00, {}}, 0, 2, "KLEF storage more than 72 hours\r\n"},
      {VariantId::kEP_06, 0, {0x00, 48, 0x80, {}}, 48, 0, "<NO PERSONALIZATION>\r\nWrong number KLEF data"},
      {VariantId::k05_02, 0, {0x00, 48, 0x00, {}}, 48, 0, "A report is not found in the MMC card"},
      {VariantId::k05_03, 0, {0x88, 0, 0x00, {}}, 0, 0x88, "<ERROR OF CLOCK>\r\nWrong date or error of clock\r\n"},
      {VariantId::kEP_05, 0, {0x00, 3, 0x00, {}}, 3, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    sim::SimulatorOptions o;
    o.forced[0x26] = c.answer;
    Start(c.id, o);
    PutLang(d(), c.lang);
    EXPECT_FALSE(FPChangeBaudRate(d(), 1));
    EXPECT_EQ(GetByteResult(d()), c.code);
    EXPECT_EQ(GetByteStatus(d()), c.status);
    EXPECT_EQ(Text(), c.text);
    TearDown();
    SetUp();
  }
}

TEST_F(SimulatorTest, LostAnswerIsRecoveredWithoutExecutingTwice) {
  sim::SimulatorOptions o;
  o.faults[FaultKind::kLoseAnswer] = FaultRule::Times(1);
  Start(VariantId::k05_03, o);
  module().settings.AnswerWaiting = 2;
  EXPECT_TRUE(FPChangeBaudRate(d(), 1, false));
  const auto c = sim_->counters();
  EXPECT_EQ(c.frames_received, 2u);
  EXPECT_EQ(c.commands_executed, 1u);
  EXPECT_EQ(c.repeats_answered, 1u);
}

TEST_F(SimulatorTest, RecoversFromNakSynAndNoise) {
  for (FaultKind kind : {FaultKind::kNak, FaultKind::kSyn, FaultKind::kNoise, FaultKind::kTruncate}) {
    SCOPED_TRACE(std::string(sim::FaultName(kind)));
    sim::SimulatorOptions o;
    o.faults[kind] = FaultRule::Times(1);
    Start(VariantId::kEP_02, o);
    if (kind == FaultKind::kTruncate) module().settings.AnswerWaiting = 2;
    EXPECT_TRUE(FPChangeBaudRate(d(), 2));
    EXPECT_EQ(sim_->counters().commands_executed, 1u);
    TearDown();
    SetUp();
  }
}

TEST_F(SimulatorTest, SpoiledAnswersNeverExecuteACommandTwice) {
  // A spoiled answer either ends incomplete (resent, answered from the printer's memory) or
  // complete with a wrong checksum (given up at once, reported as no answer). Either way every
  // command the driver sent was executed exactly once.
  sim::SimulatorOptions o;
  o.seed = 7;
  o.faults[FaultKind::kDropByte] = FaultRule::WithProbability(0.3);
  o.faults[FaultKind::kCorruptByte] = FaultRule::WithProbability(0.3);
  Start(VariantId::k05_03, o);
  module().settings.AnswerWaiting = 2;
  constexpr int kCalls = 20;
  int answered = 0;
  for (int i = 0; i < kCalls; ++i) {
    if (FPChangeBaudRate(d(), static_cast<Byte>(i % 3), false)) {
      ++answered;
    } else {
      EXPECT_EQ(GetByteResult(d()), 101);
    }
  }
  const auto c = sim_->counters();
  EXPECT_EQ(c.commands_executed, static_cast<std::uint64_t>(kCalls));
  EXPECT_GT(c.repeats_answered, 0u);
  EXPECT_GT(answered, kCalls / 2);
}

TEST_F(SimulatorTest, BusyPrinterIsWaitedFor) {
  sim::SimulatorOptions o;
  o.processing_time = std::chrono::milliseconds(700);
  o.syn_interval = std::chrono::milliseconds(100);
  Start(VariantId::k05_02, o);
  module().settings.AnswerWaiting = 1;  // each SYN restarts the window
  EXPECT_TRUE(FPChangeBaudRate(d(), 1, true));
  EXPECT_EQ(sim_->counters().frames_received, 1u);
}

}  // namespace
}  // namespace zorfp
