// The user's date and time formats, in the Windows pattern notation (d dd M MM yy yyyy, H HH h hh
// m mm s ss, t tt), both ways: dates and times shown to the client in them, and the client's text
// read back by them. Read once from the platform; tests replace them through the module.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "dates/date_time.h"

namespace zorfp {

struct LocaleFormats {
  std::string short_date = "dd.MM.yyyy";
  std::string date_separator = ".";
  std::string time_separator = ":";
  std::string long_time = "HH:mm:ss";
  std::string am = "AM";  // the designators of a 12-hour clock
  std::string pm = "PM";
};

// The platform's formats (locale_posix.cpp / locale_win32.cpp); the defaults above where the
// platform gives nothing usable.
LocaleFormats SystemLocaleFormats();

// The C library's date and time formats (strftime notation) in the Windows notation; a format that
// does not translate keeps its default.
LocaleFormats FromStrftimeFormats(const std::string& date_format, const std::string& time_format);

// Formats `t` with a Windows-style pattern. Letters d M y H h m s z t are fields; "/" and ":"
// stand for the locale's separators; text in single quotes is literal; anything else is copied.
std::string FormatDateTime(std::string_view pattern, const DateTime& t, const LocaleFormats& locale);
std::string FormatShortDate(const std::chrono::year_month_day& date, const LocaleFormats& locale);
std::string FormatLongTime(std::chrono::milliseconds time_of_day, const LocaleFormats& locale);

// Where day, month and year stand in the short date format.
enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay, kYearDayMonth };
DateOrder ShortDateOrder(const LocaleFormats& locale);

// The client's date text: three numbers joined by the date separator, in the short date format's
// order; a one- or two-digit year is of this century, a four-digit one stands as it is (from 100).
// Blanks around it are ignored. nullopt for anything else, or a day that does not exist.
std::optional<std::chrono::year_month_day> ParseShortDate(std::string_view text, const LocaleFormats& locale);

// The client's time text: hours, minutes and optionally seconds joined by the time separator, the
// hours of a 12-hour clock followed by the locale's designator. nullopt for anything else or a
// time out of range.
std::optional<std::chrono::seconds> ParseTime(std::string_view text, const LocaleFormats& locale);

}  // namespace zorfp
