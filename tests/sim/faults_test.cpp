// Fault injection: the rules, the generator, and every fault kind as the host sees it.
#include "sim/faults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "host.h"

namespace zorfp::sim::testing {
namespace {

using ::testing::ElementsAreArray;

TEST(FaultRuleTest, ParsesProbabilitiesAndCounts) {
  struct Case {
    std::string text;
    std::optional<FaultRule> rule;
  };
  const std::vector<Case> cases = {
      {"0", FaultRule::WithProbability(0.0)},
      {"0.25", FaultRule::WithProbability(0.25)},
      {"1", FaultRule::WithProbability(1.0)},
      {"3x", FaultRule::Times(3)},
      {"1x@5", FaultRule::Times(1, 5)},
      {"1.5", std::nullopt},
      {"-0.1", std::nullopt},
      {"2", std::nullopt},
      {"", std::nullopt},
      {"0x", std::nullopt},
      {"x", std::nullopt},
      {"2x@0", std::nullopt},
      {"2x5", std::nullopt},
      {"0.5x", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto rule = ParseFaultRule(c.text);
    ASSERT_EQ(rule.has_value(), c.rule.has_value());
    if (!rule) continue;
    EXPECT_EQ(rule->probability, c.rule->probability);
    EXPECT_EQ(rule->times, c.rule->times);
    EXPECT_EQ(rule->first, c.rule->first);
  }
}

TEST(FaultRuleTest, NamesRoundTrip) {
  for (int k = 0; k < kFaultKindCount; ++k) {
    const auto kind = static_cast<FaultKind>(k);
    EXPECT_EQ(ParseFaultName(FaultName(kind)), kind);
  }
  EXPECT_FALSE(ParseFaultName("delay-ms"));  // a setting, not a struck fault
}

std::vector<bool> Pattern(FaultInjector& f, FaultKind kind, int n) {
  std::vector<bool> out;
  for (int i = 0; i < n; ++i) out.push_back(f.Strikes(kind));
  return out;
}

TEST(FaultInjectorTest, CountRuleStrikesExactlyOnItsOccasions) {
  FaultSettings settings;
  settings[FaultKind::kNak] = FaultRule::Times(2, 3);
  FaultInjector f(settings, 1);
  EXPECT_EQ(Pattern(f, FaultKind::kNak, 6), (std::vector<bool>{false, false, true, true, false, false}));
  EXPECT_EQ(f.strikes(FaultKind::kNak), 2u);
  EXPECT_EQ(Pattern(f, FaultKind::kSyn, 3), std::vector<bool>(3, false));  // no rule, never
  f.SetRule(FaultKind::kNak, FaultRule::Times(1));                         // counts afresh
  EXPECT_EQ(Pattern(f, FaultKind::kNak, 2), (std::vector<bool>{true, false}));
}

TEST(FaultInjectorTest, SameSeedSameRun) {
  FaultSettings settings;
  settings[FaultKind::kNak] = FaultRule::WithProbability(0.5);
  FaultInjector a(settings, 42), b(settings, 42), c(settings, 43);
  const auto pa = Pattern(a, FaultKind::kNak, 64);
  EXPECT_EQ(pa, Pattern(b, FaultKind::kNak, 64));
  EXPECT_NE(pa, Pattern(c, FaultKind::kNak, 64));
  const auto strikes = std::count(pa.begin(), pa.end(), true);
  EXPECT_GT(strikes, 10);
  EXPECT_LT(strikes, 54);

  Bytes x(20, 0x41), y(20, 0x41);
  a.CorruptByte(x);
  b.CorruptByte(y);
  EXPECT_EQ(x, y);
  EXPECT_EQ(a.Noise(), b.Noise());
}

TEST(FaultInjectorTest, MutationsLeaveSomethingAndChangeWhatTheySay) {
  FaultInjector f(FaultSettings{}, 7);
  const Bytes original = kLineFeed1Answer;
  for (int round = 0; round < 50; ++round) {
    Bytes dropped = original, corrupted = original, truncated = original;
    f.DropByte(dropped);
    f.CorruptByte(corrupted);
    f.Truncate(truncated);
    EXPECT_EQ(dropped.size(), original.size() - 1);
    int differences = 0;
    for (std::size_t i = 0; i < original.size(); ++i) differences += corrupted[i] != original[i];
    EXPECT_EQ(differences, 1);
    EXPECT_GE(truncated.size(), 1u);
    EXPECT_LT(truncated.size(), original.size());
    EXPECT_TRUE(std::equal(truncated.begin(), truncated.end(), original.begin()));
    const Bytes noise = f.Noise();
    EXPECT_GE(noise.size(), 1u);
    EXPECT_LE(noise.size(), 8u);
    for (auto b : noise) {
      EXPECT_THAT((Bytes{0x02, 0x03, 0x06, 0x10, 0x15, 0x16}), ::testing::Not(::testing::Contains(b)));
    }
  }
}

// Host side: the fault strikes the first frame; the second, written with it, arrives intact and
// marks where the spoiled answer ends.
class FaultOnTheLineTest : public ::testing::Test {
 protected:
  Bytes SpoiledFirstAnswer(FaultKind kind) {
    SimulatorOptions o;
    o.variant = Variant::k0503;
    o.faults[kind] = FaultRule::Times(1);
    sim_.emplace(o);
    Host host(sim_->sim->path());
    host.Write(Concat(kLineFeed1, kLineFeed2));
    const Bytes got = host.ReadUntilEndsWith(kLineFeed2Answer);
    EXPECT_GE(got.size(), kLineFeed2Answer.size());
    return Bytes(got.begin(), got.end() - static_cast<long>(std::min(got.size(), kLineFeed2Answer.size())));
  }
  Counters counters() const { return sim_->sim->counters(); }

  std::optional<RunningSim> sim_;
};

TEST_F(FaultOnTheLineTest, DropByteLeavesOneByteOut) {
  const Bytes got = SpoiledFirstAnswer(FaultKind::kDropByte);
  ASSERT_EQ(got.size(), kLineFeed1Answer.size() - 1);
  bool is_one_byte_short = false;
  for (std::size_t i = 0; i < kLineFeed1Answer.size(); ++i) {
    Bytes without = kLineFeed1Answer;
    without.erase(without.begin() + static_cast<long>(i));
    is_one_byte_short = is_one_byte_short || without == got;
  }
  EXPECT_TRUE(is_one_byte_short);
  EXPECT_EQ(counters().commands_executed, 2u);
}

TEST_F(FaultOnTheLineTest, CorruptByteChangesOneByte) {
  const Bytes got = SpoiledFirstAnswer(FaultKind::kCorruptByte);
  ASSERT_EQ(got.size(), kLineFeed1Answer.size());
  int differences = 0;
  for (std::size_t i = 0; i < got.size(); ++i) differences += got[i] != kLineFeed1Answer[i];
  EXPECT_EQ(differences, 1);
}

TEST_F(FaultOnTheLineTest, TruncateSendsAProperBeginning) {
  const Bytes got = SpoiledFirstAnswer(FaultKind::kTruncate);
  ASSERT_GE(got.size(), 1u);
  ASSERT_LT(got.size(), kLineFeed1Answer.size());
  EXPECT_TRUE(std::equal(got.begin(), got.end(), kLineFeed1Answer.begin()));
  EXPECT_EQ(counters().commands_executed, 2u);
}

TEST_F(FaultOnTheLineTest, NoisePrecedesTheWholeAnswer) {
  const Bytes got = SpoiledFirstAnswer(FaultKind::kNoise);
  ASSERT_GT(got.size(), kLineFeed1Answer.size());
  const std::size_t noise = got.size() - kLineFeed1Answer.size();
  EXPECT_LE(noise, 8u);
  EXPECT_EQ(Bytes(got.begin() + static_cast<long>(noise), got.end()), kLineFeed1Answer);
  EXPECT_NE(got.front(), 0x06);
}

TEST_F(FaultOnTheLineTest, NakRefusesWithoutExecuting) {
  EXPECT_THAT(SpoiledFirstAnswer(FaultKind::kNak), ElementsAreArray(Bytes{0x15}));
  EXPECT_EQ(counters().commands_executed, 1u);
  EXPECT_EQ(counters().naks_sent, 1u);
}

TEST_F(FaultOnTheLineTest, SynRefusesWithoutExecuting) {
  EXPECT_THAT(SpoiledFirstAnswer(FaultKind::kSyn), ElementsAreArray(Bytes{0x16}));
  EXPECT_EQ(counters().commands_executed, 1u);
  EXPECT_EQ(counters().fault_syns, 1u);
}

TEST_F(FaultOnTheLineTest, SilentIgnoresTheFrame) {
  EXPECT_TRUE(SpoiledFirstAnswer(FaultKind::kSilent).empty());
  EXPECT_EQ(counters().commands_executed, 1u);
  EXPECT_EQ(counters().frames_ignored, 1u);
}

TEST_F(FaultOnTheLineTest, LoseAnswerExecutesButSendsNothing) {
  EXPECT_TRUE(SpoiledFirstAnswer(FaultKind::kLoseAnswer).empty());
  EXPECT_EQ(counters().commands_executed, 2u);
  EXPECT_EQ(counters().answers_lost, 1u);
}

TEST(SilentTest, OneMeansNeverAnswer) {
  SimulatorOptions o;
  o.faults[FaultKind::kSilent] = FaultRule::Always();
  RunningSim s(o);
  Host host(s.sim->path());
  host.Write(kLineFeed1);
  host.Write(kLineFeed2);
  ASSERT_TRUE(s.sim->WaitFor([](const Counters& c) { return c.frames_ignored == 2; }));
  s.sim->ClearFaults();
  EXPECT_THAT(host.Exchange(HostFrame(3, {0x0E})),
              ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x03, 0x0E, 0x00, 0x00, 0x00, 0xEF, 0x10, 0x03}));
  EXPECT_EQ(s.sim->counters().commands_executed, 1u);
}

TEST(DelayTest, HoldsTheAnswerBackAndIsBusyMeanwhile) {
  SimulatorOptions o;
  o.variant = Variant::k0503;
  o.faults.delay = std::chrono::milliseconds(300);
  RunningSim s(o);
  Host host(s.sim->path());
  host.Write(Concat(kLineFeed1, kLineFeed2));
  // The second frame is answered SYN before the first answer's first byte has left.
  EXPECT_THAT(host.Read(12), ElementsAreArray(Concat({0x16}, kLineFeed1Answer)));
}

TEST(ForcedAnswerTest, AnswersAsToldWithoutExecuting) {
  SimulatorOptions o;
  o.variant = Variant::k0503;
  o.forced[0x30] = ForcedAnswer{0x00, 0x00, 0x10, {0x10}};
  o.forced[0x0E] = ForcedAnswer{0x80, 0x2C, 0x01, {}};
  TempDir dir;
  o.tape_path = dir.File("tape.txt");
  RunningSim s(o);
  Host host(s.sim->path());
  EXPECT_THAT(host.Exchange(HostFrame(1, {0x30})),
              ElementsAreArray(
                  Bytes{0x06, 0x10, 0x02, 0x01, 0x30, 0x00, 0x00, 0x10, 0x10, 0x10, 0x10, 0xAF, 0x10, 0x03}));
  EXPECT_THAT(host.Exchange(HostFrame(2, {0x0E})),
              ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x02, 0x0E, 0x80, 0x2C, 0x01, 0x43, 0x10, 0x03}));
  // A resend of a forced answer is a resend like any other.
  host.Exchange(HostFrame(2, {0x0E}));
  s.sim->ClearForcedAnswer(0x0E);
  host.Exchange(HostFrame(3, {0x0E}));
  const Counters c = s.sim->counters();
  EXPECT_EQ(c.forced_answers, 2u);
  EXPECT_EQ(c.repeats_answered, 1u);
  EXPECT_EQ(c.commands_executed, 1u);  // only the line feed after the rule was cleared
}

}  // namespace
}  // namespace zorfp::sim::testing
