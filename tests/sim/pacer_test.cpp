// The paced line's schedule, driven by the times the test hands it: no sleeping, no real clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "sim/pacer.h"

namespace zorfp::sim {
namespace {

using std::chrono::nanoseconds;
using testing::ElementsAre;
using testing::ElementsAreArray;
using TimePoint = LineSchedule::Clock::time_point;

const TimePoint t0 = TimePoint{} + std::chrono::seconds(100);

Bytes Take(LineSchedule& line, TimePoint now) {
  const auto due = line.TakeDue(now);
  return Bytes(due.begin(), due.end());
}

TEST(LinePacerTest, ArrivedCountsWhatDurationTakes) {
  // The two must agree to the nanosecond, or a byte is written a little before its time or the
  // loop wakes for a byte that is not yet due.
  for (int baud : {1200, 9600, 19200, 115200}) {
    const LinePacer pacer(baud);
    for (std::size_t n = 1; n < 3000; ++n) {
      ASSERT_EQ(pacer.Arrived(pacer.Duration(n)), n) << baud << " baud, " << n;
      ASSERT_EQ(pacer.Arrived(pacer.Duration(n) - nanoseconds(1)), n - 1) << baud << " baud, " << n;
    }
    EXPECT_EQ(pacer.Arrived(-nanoseconds(5)), 0u);
  }
}

TEST(LineScheduleTest, EachByteArrivesOneByteTimeAfterTheOneBefore) {
  for (int baud : {9600, 115200}) {
    SCOPED_TRACE(baud);
    const LinePacer rate(baud);
    LineSchedule line(baud);
    line.Queue(Bytes{1, 2, 3, 4, 5}, t0);
    for (Byte b = 1; b <= 5; ++b) {
      const TimePoint due = t0 + rate.Duration(b);
      ASSERT_EQ(line.next_due(), due);
      EXPECT_TRUE(Take(line, due - nanoseconds(1)).empty()) << "byte " << int(b) << " is not due before its time";
      EXPECT_THAT(Take(line, due), ElementsAre(b));
    }
    EXPECT_TRUE(line.empty());
  }
}

TEST(LineScheduleTest, ALateLookTakesWhatIsDueInOnePieceAndDelaysNothingAfter) {
  const LinePacer rate(115200);
  LineSchedule line(115200);
  const Bytes answer{0x06, 0x10, 0x02, 0x01, 0x0E, 0x00, 0x00, 0x00, 0xF1, 0x10, 0x03};
  line.Queue(answer, t0);
  // The loop wakes 40 µs after the sixth byte was due.
  EXPECT_THAT(Take(line, t0 + rate.Duration(6) + std::chrono::microseconds(40)),
              ElementsAreArray(answer.begin(), answer.begin() + 6));
  EXPECT_EQ(line.next_due(), t0 + rate.Duration(7)) << "the lateness must not carry over";
  EXPECT_THAT(Take(line, t0 + std::chrono::seconds(1)), ElementsAreArray(answer.begin() + 6, answer.end()));
}

TEST(LineScheduleTest, HandoversFollowTheLineOrStartWhenItIsFree) {
  const LinePacer rate(9600);
  const struct {
    const char* what;
    nanoseconds second_at;       // the second handover, after t0
    nanoseconds last_arrives;    // when its byte arrives, after t0
  } cases[] = {
      {"while the first still crosses: straight behind it", rate.Duration(1), rate.Duration(4)},
      {"when the line has just fallen free", rate.Duration(3), rate.Duration(4)},
      {"after an idle line: one byte time from the handover", rate.Duration(10), rate.Duration(10) + rate.Duration(1)},
      {"in the past, before the first: still behind it", -rate.Duration(5), rate.Duration(4)},
  };
  for (const auto& c : cases) {
    LineSchedule line(9600);
    line.Queue(Bytes{1, 2, 3}, t0);
    line.Queue(Bytes{4}, t0 + c.second_at);
    EXPECT_THAT(Take(line, t0 + c.last_arrives - nanoseconds(1)), ElementsAre(1, 2, 3)) << c.what;
    EXPECT_THAT(Take(line, t0 + c.last_arrives), ElementsAre(4)) << c.what;
  }
}

TEST(LineScheduleTest, AnAnswerTimedFromAFrameThatArrivedEarlierIsPartlyDueAtOnce) {
  // The device took 200 µs over the frame; the answer is still timed from the frame's arrival.
  const LinePacer rate(115200);
  LineSchedule line(115200);
  line.Queue(Bytes{1, 2, 3, 4, 5}, t0);
  EXPECT_THAT(Take(line, t0 + std::chrono::microseconds(200)), ElementsAre(1, 2));
}

TEST(LineScheduleTest, ClearDropsWhatIsQueuedAndANewRateTimesTheNextAnswer) {
  LineSchedule line(9600);
  line.Queue(Bytes{1, 2, 3}, t0);
  line.Clear();
  EXPECT_TRUE(line.empty());
  line.set_baud(115200);
  line.Queue(Bytes{7}, t0);
  EXPECT_EQ(line.next_due(), t0 + LinePacer(115200).Duration(1));
}

}  // namespace
}  // namespace zorfp::sim
