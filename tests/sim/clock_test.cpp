// The printer's clock.
#include <gtest/gtest.h>

#include "sim/model.h"

namespace zorfp::sim {
namespace {

TEST(ClockTest, RunsFromTheHostClockPlusAnOffset) {
  DeviceClock clock;
  clock.Set({2030, 6, 1, 12, 0, 0});
  const CivilTime now = clock.NowCivil();
  EXPECT_EQ(now.year, 2030);
  EXPECT_EQ(now.month, 6);
  EXPECT_EQ(now.day, 1);
  EXPECT_EQ(now.hour, 12);
  EXPECT_LE(now.minute, 1);
  EXPECT_GT(clock.offset().count(), 0);
}

}  // namespace
}  // namespace zorfp::sim
