// The printer's clock, and the option flags: what the commands read and set and what the printer
// refuses. Driven in-process.
#include <gtest/gtest.h>

#include <string>

#include "sim/model.h"
#include "sim/result_codes.h"

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

TEST(ClockCommandsTest, SetThenReadBack) {
  for (Variant v : AllVariants()) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    ASSERT_EQ(Execute(m, Bytes{0x02, 0x29, 0x02, 0x28}).answer.result, 0);
    ASSERT_EQ(Execute(m, Bytes{0x04, 0x23, 0x59, 0x30}).answer.result, 0);
    EXPECT_EQ(Execute(m, Bytes{0x01}).answer.data, (Bytes{0x29, 0x02, 0x28}));
    const Bytes time = Execute(m, Bytes{0x03}).answer.data;
    ASSERT_EQ(time.size(), 3u);
    EXPECT_EQ(time[0], 0x23);
    EXPECT_EQ(time[1], 0x59);
  }
}

TEST(ClockCommandsTest, Refusals) {
  const struct {
    const char* what;
    Bytes command;
    Byte result;  // on 05-03
  } cases[] = {
      {"a nibble above 9", {0x02, 0x1A, 0x01, 0x24}, result::kBadDateTime},
      {"month 13", {0x02, 0x01, 0x13, 0x24}, result::kBadDateTime},
      {"day 0", {0x02, 0x00, 0x01, 0x24}, result::kBadDateTime},
      {"30 February", {0x02, 0x30, 0x02, 0x24}, result::kBadDateTime},
      {"29 February of a common year", {0x02, 0x29, 0x02, 0x25}, result::kBadDateTime},
      {"hour 24", {0x04, 0x24, 0x00, 0x00}, result::kBadDateTime},
      {"minute 60", {0x04, 0x12, 0x60, 0x00}, result::kBadDateTime},
      {"seconds in hex", {0x04, 0x12, 0x00, 0x0F}, result::kBadDateTime},
      {"a day before the last day-closing report", {0x02, 0x14, 0x03, 0x24}, result::kDateBeforeLastZ},
      {"a field missing", {0x02, 0x14, 0x03}, result::kBadParameter0502},
      {"a read with a parameter", {0x01, 0x00}, result::kBadParameter0502},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PrinterModel m(Variant::k0503);
    m.reports.last_z = DayDate{2024, 3, 15};  // the last day-closing report
    const auto offset = m.clock.offset();
    EXPECT_EQ(Execute(m, c.command).answer.result, c.result);
    EXPECT_EQ(m.clock.offset(), offset) << "the clock is left alone";
  }
  PrinterModel m(Variant::k0503);
  m.reports.last_z = DayDate{2024, 3, 15};
  EXPECT_EQ(Execute(m, Bytes{0x02, 0x15, 0x03, 0x24}).answer.result, 0) << "the day of the report itself";
}

TEST(FlagsCommandsTest, ReadWriteAndTheirRefusals) {
  PrinterModel m(Variant::k0502);
  m.programming.settings.passwords[kProgrammingPassword] = 0x0102;
  EXPECT_EQ(Execute(m, Bytes{0x34}).answer.data, Bytes(8, 0));
  const Bytes write = {0x35, 0x02, 0x01, 0x05, 0x14, 0x80, 0x00, 0x04, 0x00, 0x81, 0x03};
  ASSERT_EQ(Execute(m, write).answer.result, 0);
  EXPECT_EQ(Execute(m, Bytes{0x34}).answer.data, (Bytes{0x05, 0x14, 0x80, 0x00, 0x04, 0x00, 0x81, 0x03}));

  Bytes wrong_password = write;
  wrong_password[1] = 0x03;
  Bytes too_many_lines = write;
  too_many_lines[10] = 17;
  const Bytes cut_short(write.begin(), write.end() - 1);
  for (const Bytes& c : {wrong_password, too_many_lines, cut_short}) {
    const Byte expected = c == wrong_password ? result::kBadPassword : result::kBadParameter0502;
    EXPECT_EQ(Execute(m, c).answer.result, expected);
  }
  EXPECT_EQ(m.flags.feed_lines, 3) << "a refused write changes nothing";
  PrinterModel ep06(Variant::kEp06);
  EXPECT_EQ(Execute(ep06, Bytes{0x34}).answer.result, result::kCommandForbidden)
      << "only 05-02 and 05-03 keep flags";
}

}  // namespace
}  // namespace zorfp::sim
