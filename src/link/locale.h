// The user's date and time formats, in the Windows pattern notation (d dd M MM yy yyyy, H HH h hh
// m mm s ss). Read once from the platform; tests replace them through the module.
#pragma once

#include <string>

namespace zorfp {

struct LocaleFormats {
  std::string short_date = "dd.MM.yyyy";
  std::string date_separator = ".";
  std::string time_separator = ":";
  std::string long_time = "HH:mm:ss";
};

// The platform's formats (locale_posix.cpp / locale_win32.cpp); the defaults above where the
// platform gives nothing usable.
LocaleFormats SystemLocaleFormats();

// The C library's date and time formats (strftime notation) in the Windows notation; a format that
// does not translate keeps its default.
LocaleFormats FromStrftimeFormats(const std::string& date_format, const std::string& time_format);

struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Formats `t` with a Windows-style pattern. Letters d M y H h m s z t are fields; "/" and ":"
// stand for the locale's separators; text in single quotes is literal; anything else is copied.
std::string FormatDateTime(const std::string& pattern, const CivilTime& t, const LocaleFormats& locale);

}  // namespace zorfp
