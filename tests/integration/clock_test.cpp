// The printer's clock: the set commands' bytes per family, the client's date and time texts read
// and written in the locale's formats, what is refused before anything is sent, the values 05-02
// and 05-03 store, and the fiscalization moment; then the clock of every class on the simulator.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "commands/clock.h"
#include "dates/date_time.h"
#include "errors/codepage.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sent_commands.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::CommandsHex;
using testing::FromHex;
using testing::Put;

double Date(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
  return *ToOleDate(*DateTime::From(y, m, d, h, min, s));
}

const LocaleFormats kDayMonthYear{"dd.MM.yyyy", ".", ":", "HH:mm:ss"};
const LocaleFormats kYearMonthDay{"yyyy-MM-dd", "-", ":", "HH:mm:ss"};
const LocaleFormats kMonthDayYear{"M/d/yyyy", "/", ":", "h:mm:ss tt"};

class ClockTest : public testing::PtyDriverTest {
 protected:
  void SetUp() override {
    PtyDriverTest::SetUp();
    Answer({});
  }
  void Use(const LocaleFormats& f) { module().env.locale = f; }
  std::vector<std::string> Sent() const { return CommandsHex(peer_.Frames()); }
  ClockValues& Stored(VariantId id) { return module().values[Index(id)].clock; }
};

TEST_F(ClockTest, SetCommandsOnTheWire) {
  const struct {
    VariantId id;
    LocaleFormats locale;
    std::function<void(Driver&)> call;
    const char* sent;
  } cases[] = {
      {VariantId::kEP_01, kDayMonthYear, [](Driver& d) { Call(d, "FPSetDate", Date(2024, 3, 9, 17, 0)); },
       "02 09 03 24"},
      {VariantId::k08_01, kDayMonthYear, [](Driver& d) { Call(d, "FPSetTime", Date(2024, 3, 9, 13, 5, 7)); },
       "04 13 05 07"},
      {VariantId::kEP_01, kDayMonthYear, [](Driver& d) { Call(d, "FPSetTime", 0.5); }, "04 12 00 00"},
      {VariantId::kEP_02, kDayMonthYear, [](Driver& d) { Put(d, "CurrentDate", "9.3.2024"); }, "02 09 03 24"},
      {VariantId::kEP_05, kYearMonthDay, [](Driver& d) { Put(d, "CurrentDate", "2031-12-31"); },
       "02 31 12 31"},
      {VariantId::kEP_06, kMonthDayYear, [](Driver& d) { Put(d, "CurrentDate", "3/9/2024"); }, "02 09 03 24"},
      {VariantId::kEP_02, kMonthDayYear, [](Driver& d) { Put(d, "CurrentTime", "12:05:07 AM"); },
       "04 00 05 07"},
      {VariantId::kEP_05, kMonthDayYear, [](Driver& d) { Put(d, "CurrentTime", "12:05:07 PM"); },
       "04 12 05 07"},
      {VariantId::kEP_06, kMonthDayYear, [](Driver& d) { Put(d, "CurrentTime", "1:05:07 pm"); },
       "04 13 05 07"},
      {VariantId::kEP_02, kDayMonthYear, [](Driver& d) { Put(d, "CurrentTime", " 9:05:07 "); },
       "04 09 05 07"},
      {VariantId::k05_03, kMonthDayYear, [](Driver& d) { Put(d, "CurrentTime", "1:05 PM"); }, "04 13 05 00"},
      {VariantId::k05_02, kDayMonthYear, [](Driver& d) { Put(d, "CurrentDate", "29.02.2028"); },
       "02 29 02 28"},
      {VariantId::k05_02, kDayMonthYear,
       [](Driver& d) {
         Put(d, "CurrentDateEx", Date(2024, 3, 9, 23, 59));
         EXPECT_TRUE(Call<bool>(d, "FPSetCurrentDate"));
       },
       "02 09 03 24"},
      {VariantId::k05_03, kDayMonthYear,
       [](Driver& d) {
         Put(d, "CurrentTimeEx", Date(2024, 3, 9, 21, 8, 9));  // the day count does not matter
         EXPECT_TRUE(Call<bool>(d, "FPSetCurrentTime"));
       },
       "04 21 08 09"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    Use(c.locale);
    Open(c.id);
    const std::size_t before = peer_.FrameCount();
    c.call(*driver_);
    EXPECT_EQ(GetByteResult(*driver_), 0) << AnsiToUtf8(GetTextErrorMessage(*driver_));
    ASSERT_EQ(peer_.FrameCount(), before + 1);
    EXPECT_EQ(Sent().back(), c.sent);
  }
}

// Texts that are no date or time, and values the printer cannot hold, send nothing.
TEST_F(ClockTest, RefusalsSendNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    VariantId id;
    std::function<void(Driver&)> call;
    const char* text;  // English
  } cases[] = {
      {VariantId::kEP_02, [](Driver& d) { Put(d, "CurrentTime", "9:05"); }, "Time format error!"},
      {VariantId::kEP_02, [](Driver& d) { Put(d, "CurrentTime", "9:5:07"); }, "Time format error!"},
      {VariantId::kEP_05, [](Driver& d) { Put(d, "CurrentTime", "09:05:07:01"); }, "Time format error!"},
      {VariantId::kEP_05, [](Driver& d) { Put(d, "CurrentTime", "24:00:00"); }, "Time format error!"},
      {VariantId::kEP_06, [](Driver& d) { Put(d, "CurrentTime", "13:00:00 PM"); }, "Time format error!"},
      {VariantId::kEP_06, [](Driver& d) { Put(d, "CurrentTime", "0:00:00 AM"); }, "Time format error!"},
      {VariantId::kEP_02, [](Driver& d) { Put(d, "CurrentTime", ""); }, "Time format error!"},
      {VariantId::k05_03, [](Driver& d) { Put(d, "CurrentTime", "25:99"); }, "Time format error!"},
      {VariantId::kEP_02, [](Driver& d) { Put(d, "CurrentDate", "32.01.2024"); }, "Date format error!"},
      {VariantId::kEP_05, [](Driver& d) { Put(d, "CurrentDate", "2024-01-05"); }, "Date format error!"},
      {VariantId::k05_02, [](Driver& d) { Put(d, "CurrentDate", "01.01.2100"); }, "Date format error!"},
      {VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPSetCurrentDate"); }, "Date format error!"},
      // NaN never passes the automation boundary; the members refuse it all the same.
      {VariantId::k05_03, [nan](Driver& d) { WritePrinterTime(d, nan); }, "Time format error!"},
      {VariantId::kEP_01, [nan](Driver& d) { WritePrinterDate(d, nan); }, "Date format error!"},
      {VariantId::kEP_01, [](Driver& d) { Call(d, "FPSetDate", 0.0); }, "Date format error!"},
      {VariantId::k08_01, [](Driver& d) { Call(d, "FPSetDate", Date(2100, 1, 1)); }, "Date format error!"},
      {VariantId::k08_01, [](Driver& d) { Call(d, "FPSetDate", Date(1999, 12, 31)); }, "Date format error!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Open(c.id);
    PutLang(*driver_, 0);
    const std::size_t before = peer_.FrameCount();
    const Byte result_before = GetByteResult(*driver_);
    c.call(*driver_);
    EXPECT_EQ(peer_.FrameCount(), before) << "nothing is sent";
    EXPECT_EQ(Text(*driver_), c.text);
    if (Traits(c.id).older_family) {
      EXPECT_EQ(GetByteResult(*driver_), result_before) << "the older classes set the text alone";
    } else {
      EXPECT_EQ(GetByteResult(*driver_), 30);
      EXPECT_EQ(GetByteStatus(*driver_), 0) << "a format failure leaves the status alone";
    }
  }
}

TEST_F(ClockTest, DatesAndTimesReadInTheLocalesFormats) {
  const struct {
    VariantId id;
    LocaleFormats locale;
    const char* member;
    const char* answer;
    const char* text;
  } cases[] = {
      {VariantId::k05_03, kDayMonthYear, "CurrentDate", "05 03 24", "05.03.2024"},
      {VariantId::kEP_02, kYearMonthDay, "CurrentDate", "05 03 24", "2024-03-05"},
      {VariantId::kEP_06, kMonthDayYear, "CurrentDate", "05 03 24", "3/5/2024"},
      {VariantId::kEP_01, kYearMonthDay, "FPGetDate", "31 12 99", "2099-12-31"},
      {VariantId::k05_02, kDayMonthYear, "CurrentTime", "13 05 07", "13:05:07"},
      {VariantId::kEP_05, kMonthDayYear, "CurrentTime", "13 05 07", "1:05:07 PM"},
      {VariantId::k08_01, kMonthDayYear, "FPGetTime", "00 00 59", "12:00:59 AM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Use(c.locale);
    Open(c.id);
    Answer(FromHex(c.answer));
    EXPECT_EQ(Call<AnsiString>(*driver_, c.member), c.text);
  }
  EXPECT_EQ(Sent(), (std::vector<std::string>{"01", "01", "01", "01", "03", "03", "03"}));
}

TEST_F(ClockTest, ADateOrTimeThePrinterCannotHaveIsCode30) {
  Open(VariantId::kEP_05);
  PutLang(*driver_, 0);
  Answer(FromHex("32 13 24"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "CurrentDate"), "");
  EXPECT_EQ(GetByteResult(*driver_), 30);
  Answer(FromHex("24 00 00"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "CurrentTime"), "");
  EXPECT_EQ(GetByteResult(*driver_), 30);
  Answer(FromHex("24 00"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "CurrentTime"), "");
  EXPECT_EQ(GetByteResult(*driver_), 103);
}

TEST_F(ClockTest, StoredValuesOf0502And0503) {
  Use(kDayMonthYear);
  Open(VariantId::k05_02);
  Answer(FromHex("05 03 24"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetCurrentDate"));
  EXPECT_EQ(Call<double>(*driver_, "CurrentDateEx"), Date(2024, 3, 5)) << "no time part";
  Answer(FromHex("18 30 15"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetCurrentTime"));
  EXPECT_DOUBLE_EQ(Call<double>(*driver_, "CurrentTimeEx"), (18 * 3600 + 30 * 60 + 15) / 86400.0);
  EXPECT_EQ(Stored(VariantId::k05_03).StoredDate, 0) << "each class keeps its own";

  // The text properties store what they read and what they set.
  Answer(FromHex("01 02 25"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "CurrentDate"), "01.02.2025");
  EXPECT_EQ(Stored(VariantId::k05_02).StoredDate, Date(2025, 2, 1));
  Answer({});
  Put(*driver_, "CurrentTime", "7:08:09");
  EXPECT_DOUBLE_EQ(Stored(VariantId::k05_02).StoredTime, (7 * 3600 + 8 * 60 + 9) / 86400.0);

  // A refused read keeps them.
  Answer({}, 0, 16);
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetCurrentDate"));
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetCurrentTime"));
  EXPECT_EQ(Stored(VariantId::k05_02).StoredDate, Date(2025, 2, 1));
  EXPECT_DOUBLE_EQ(Stored(VariantId::k05_02).StoredTime, (7 * 3600 + 8 * 60 + 9) / 86400.0);

  const std::size_t sent = peer_.FrameCount();
  Put(*driver_, "CurrentDateEx", 1234.5);
  EXPECT_EQ(Call<double>(*driver_, "CurrentDateEx"), 1234.5);
  EXPECT_EQ(peer_.FrameCount(), sent) << "the Ex properties never talk to the printer";
}

class ClockOnSimulatorTest : public testing::SimDriverTest {
 protected:
  void SetUp() override {
    SimDriverTest::SetUp();
    module().env.locale = kDayMonthYear;
  }
};

// Each class sets the clock and reads back what it set; the printer refuses a day before its last
// day-closing report.
TEST_F(ClockOnSimulatorTest, SetAndReadBackOnEveryClass) {
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01, VariantId::kEP_02, VariantId::kEP_05,
                       VariantId::kEP_06, VariantId::k05_02, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    const bool older = Traits(id).older_family;
    if (older) {
      Call(d(), "FPSetDate", Date(2031, 7, 14));
      Call(d(), "FPSetTime", Date(1899, 12, 30, 22, 15, 0));
    } else {
      Put(d(), "CurrentDate", "14.07.2031");
      Put(d(), "CurrentTime", "22:15:00");
    }
    ASSERT_EQ(GetTextErrorMessage(d()), "");
    const sim::CivilTime now = sim_->WithModel([](sim::PrinterModel& m) { return m.clock.NowCivil(); });
    EXPECT_EQ(now.year, 2031);
    EXPECT_EQ(now.month, 7);
    EXPECT_EQ(now.day, 14);
    EXPECT_EQ(now.hour, 22);
    EXPECT_EQ(now.minute, 15);
    EXPECT_EQ(Call<AnsiString>(d(), older ? "FPGetDate" : "CurrentDate"), "14.07.2031");
    EXPECT_EQ(Call<AnsiString>(d(), older ? "FPGetTime" : "CurrentTime").substr(0, 5), "22:15");

    sim_->WithModel([](sim::PrinterModel& m) {
      m.reports.last_z = sim::DayDate{2031, 7, 15};  // the last day-closing report
    });
    PutLang(d(), 0);
    if (older) {
      Call(d(), "FPSetDate", Date(2031, 7, 14));
    } else {
      Put(d(), "CurrentDate", "14.07.2031");
    }
    EXPECT_EQ(GetByteResult(d()), 36) << "a day before the last day-closing report";
    EXPECT_NE(GetTextErrorMessage(d()), "");
  }
}

TEST_F(ClockOnSimulatorTest, TheFiscalizationMoment) {
  Start(VariantId::k05_03);
  EXPECT_EQ(Call<AnsiString>(d(), "GetRegistrationDate"), "15.01.2024");
  EXPECT_EQ(Call<AnsiString>(d(), "GetRegistrationTime"), "09:30:00");
  EXPECT_EQ(Call<double>(d(), "GetRegistrationDateTime"), Date(2024, 1, 15, 9, 30));
  EXPECT_EQ(Call<double>(d(), "FiscalizationDateTime"), 0) << "nothing kept before FPGetCurrentStatus";
  ASSERT_TRUE(Call<bool>(d(), "FPGetCurrentStatus"));
  EXPECT_EQ(Call<double>(d(), "FiscalizationDateTime"), Date(2024, 1, 15, 9, 30));
  EXPECT_EQ(Call<AnsiString>(d(), "FiscalizationDateStr"), "15.01.2024");
  EXPECT_EQ(Call<AnsiString>(d(), "FiscalizationTimeStr"), "09:30:00");

  // A printer not fiscalized shows 1 January 2003, whatever its bytes hold.
  sim_->WithModel([](sim::PrinterModel& m) { m.status.fiscalization.done = false; });
  EXPECT_EQ(Call<AnsiString>(d(), "GetRegistrationDate"), "01.01.2003");
  EXPECT_EQ(Call<AnsiString>(d(), "GetRegistrationTime"), "00:00:00");
  EXPECT_EQ(Call<AnsiString>(d(), "FiscalizationDateStr"), "15.01.2024") << "the kept moment stays";

  Start(VariantId::kEP_01);
  EXPECT_EQ(Call<AnsiString>(d(), "GetRegistrationDate"), "15.01.2024");
  EXPECT_EQ(Call<AnsiString>(d(), "GetRegistrationTime"), "09:30:00");
}

}  // namespace
}  // namespace zorfp
