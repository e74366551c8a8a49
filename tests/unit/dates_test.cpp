// The one date module: the printer's BCD fields, automation DATEs, and the locale's patterns both
// ways.
#include "dates/locale_formats.h"

#include <gtest/gtest.h>

#include "dates/bcd.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace zorfp {
namespace {

TEST(FormatDateTime, Patterns) {
  const DateTime t = *DateTime::From(2009, 3, 7, 14, 5, 9, 42);
  const LocaleFormats slash{"M/d/yyyy", "/", ":", "h:mm:ss tt"};
  const struct {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"dd.MM.yyyy", "07.03.2009"}, {"d.M.yy", "7.3.09"},   {"M/d/yyyy", "3/7/2009"},
      {"HH:mm:ss", "14:05:09"},     {"h:mm tt", "2:05 PM"}, {"'at' HH", "at 14"},
      {"ss.zzz", "09.042"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, t, slash), c.text) << c.pattern;
  // "/" and ":" stand for the locale's separators.
  EXPECT_EQ(FormatDateTime("dd/MM/yy HH:mm", t, LocaleFormats{"", "-", ".", ""}), "07-03-09 14.05");
}

}  // namespace
}  // namespace zorfp

namespace zorfp {
namespace {

TEST(FromStrftimeFormats, TranslatesTheCLibraryFormats) {
  const struct {
    const char* date;
    const char* time;
    const char* short_date;
    const char* date_separator;
    const char* long_time;
    const char* time_separator;
  } cases[] = {
      {"%d.%m.%Y", "%T", "dd.MM.yyyy", ".", "HH:mm:ss", ":"},  // ru_RU, uk_UA
      {"%m/%d/%Y", "%r", "MM/dd/yyyy", "/", "HH:mm:ss", ":"},  // en_US: %r does not translate
      {"%Y-%m-%d", "%H.%M.%S", "yyyy-MM-dd", "-", "HH.mm.ss", "."},
      {"%D", "%I:%M:%S %p", "MM/dd/yy", "/", "hh:mm:ss tt", ":"},
      {"%e %B %Y", "%H:%M", "dd.MM.yyyy", ".", "HH:mm", ":"},  // a month name: keep the default
      {"", "", "dd.MM.yyyy", ".", "HH:mm:ss", ":"},
  };
  for (const auto& c : cases) {
    const LocaleFormats f = FromStrftimeFormats(c.date, c.time);
    EXPECT_EQ(f.short_date, c.short_date) << c.date;
    EXPECT_EQ(f.date_separator, c.date_separator) << c.date;
    EXPECT_EQ(f.long_time, c.long_time) << c.time;
    EXPECT_EQ(f.time_separator, c.time_separator) << c.time;
  }
}

TEST(SystemLocaleFormats, TheCLocaleGivesTheDefaults) {
  const char* saved = std::getenv("LC_ALL");
  const std::string keep = saved ? saved : "";
  for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    ::setenv("LC_ALL", name, 1);
    const LocaleFormats f = SystemLocaleFormats();
    EXPECT_EQ(f.short_date, "dd.MM.yyyy") << name;
    EXPECT_EQ(f.long_time, "HH:mm:ss") << name;
  }
  if (saved) {
    ::setenv("LC_ALL", keep.c_str(), 1);
  } else {
    ::unsetenv("LC_ALL");
  }
}

}  // namespace
}  // namespace zorfp

namespace zorfp {
namespace {

using namespace std::chrono;

TEST(BcdDates, FieldsAndTheCenturyTheyStandFor) {
  EXPECT_EQ(DateFromBcd({0x05, 0x03, 0x24}), year_month_day(year{2024}, March, day{5}));
  EXPECT_EQ(DateFromBcd({0x29, 0x02, 0x24}), year_month_day(year{2024}, February, day{29}));
  // Nibbles are not checked: 0x1A reads as 20.
  EXPECT_EQ(DateFromBcd({0x1A, 0x01, 0x24}), year_month_day(year{2024}, January, day{20}));
  for (const BcdDate& bad : {BcdDate{0x29, 0x02, 0x23}, BcdDate{0x00, 0x00, 0x00}, BcdDate{0x31, 0x13, 0x24},
                             BcdDate{0x32, 0x01, 0x24}}) {
    EXPECT_EQ(DateFromBcd(bad), std::nullopt) << int(bad.day) << "." << int(bad.month) << "." << int(bad.year);
  }
  EXPECT_EQ(BcdFromDate(year{2024} / March / 9), (BcdDate{0x09, 0x03, 0x24}));
  EXPECT_EQ(BcdFromDate(year{2000} / January / 1), (BcdDate{0x01, 0x01, 0x00}));
  // Two year digits cannot say 1899, 1999 or 2100: such a date has no fields.
  for (const year_month_day& outside : {year{1899} / December / 30, year{1999} / December / 31,
                                        year{2100} / January / 1, year{2023} / February / 29}) {
    EXPECT_EQ(BcdFromDate(outside), std::nullopt) << static_cast<int>(outside.year());
  }
}

TEST(BcdTimes, FieldsBothWays) {
  EXPECT_EQ(TimeFromBcd({0x23, 0x59, 0x58}), hours{23} + minutes{59} + seconds{58});
  EXPECT_EQ(TimeFromBcd({0x24, 0x00, 0x00}), std::nullopt);
  EXPECT_EQ(TimeFromBcd({0x12, 0x60, 0x00}), std::nullopt);
  EXPECT_EQ(BcdFromTime(hours{13} + minutes{5} + seconds{7} + milliseconds{999}), (BcdTime{0x13, 0x05, 0x07}));
}

TEST(OleDates, RoundTripAndRange) {
  const DateTime t = *DateTime::From(2024, 3, 15, 10, 30);
  EXPECT_DOUBLE_EQ(*ToOleDate(t), 45366.0 + 10.5 / 24);
  EXPECT_EQ(FromOleDate(*ToOleDate(t)), t);
  EXPECT_EQ(FromOleDate(37622.0), DateTime::From(2003, 1, 1));
  EXPECT_EQ(DateTime::From(2023, 2, 29), std::nullopt);
  EXPECT_EQ(DateTime::From(2024, 1, 1, 24), std::nullopt);
  EXPECT_EQ(FromOleDate(std::nan("")), std::nullopt);
  EXPECT_EQ(FromOleDate(1e9), std::nullopt);
}

TEST(ShortDates, ReadInTheLocalesOrder) {
  const LocaleFormats dmy;  // dd.MM.yyyy
  const LocaleFormats ymd{"yyyy-MM-dd", "-", ":", "HH:mm:ss"};
  const LocaleFormats mdy{"M/d/yyyy", "/", ":", "h:mm:ss tt"};
  const year_month_day march_5 = year{2024} / March / 5;
  const struct {
    const LocaleFormats& locale;
    const char* text;
    std::optional<year_month_day> date;
  } cases[] = {
      {dmy, "05.03.2024", march_5},   {dmy, " 5.3.24 ", march_5},   {ymd, "2024-03-05", march_5},
      {ymd, "24-3-5", march_5},       {mdy, "3/5/2024", march_5},   {dmy, "3/5/2024", std::nullopt},
      {dmy, "30.02.2024", std::nullopt}, {dmy, "05.03", std::nullopt}, {dmy, "05.03.2024x", std::nullopt},
      {dmy, "005.03.2024", std::nullopt}, {dmy, "", std::nullopt},
      {dmy, "05.03.024", std::nullopt},  {dmy, "05.03.0024", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseShortDate(c.text, c.locale), c.date) << c.text << " in " << c.locale.short_date;
    if (c.date) {
      EXPECT_EQ(ParseShortDate(FormatShortDate(*c.date, c.locale), c.locale), c.date);
    }
  }
  EXPECT_EQ(ShortDateOrder(mdy), DateOrder::kMonthDayYear);
  EXPECT_EQ(ShortDateOrder(LocaleFormats{"yyyy.dd.MM", ".", ":", ""}), DateOrder::kYearDayMonth);
}

TEST(Times, ReadWithTheLocalesSeparatorAndDesignators) {
  const LocaleFormats h24;
  const LocaleFormats h12{"M/d/yyyy", "/", ":", "h:mm:ss tt"};
  const struct {
    const LocaleFormats& locale;
    const char* text;
    std::optional<seconds> time;
  } cases[] = {
      {h24, "9:05:07", hours{9} + minutes{5} + seconds{7}},
      {h24, "09:05", hours{9} + minutes{5}},
      {h12, "12:05:07 AM", minutes{5} + seconds{7}},
      {h12, "12:05:07 PM", hours{12} + minutes{5} + seconds{7}},
      {h12, "1:05:07 PM", hours{13} + minutes{5} + seconds{7}},
      {h24, "25:99", std::nullopt},
      {h24, "9:5:07", std::nullopt},
      {h12, "13:00 PM", std::nullopt},
      {h24, "9.05.07", std::nullopt},
      {h24, "", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseTime(c.text, c.locale), c.time) << c.text;
  EXPECT_EQ(FormatLongTime(hours{13} + minutes{5} + seconds{7}, h12), "1:05:07 PM");
}

}  // namespace
}  // namespace zorfp
