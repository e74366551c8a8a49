#include "dates/locale_formats.h"

#include <gtest/gtest.h>

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
