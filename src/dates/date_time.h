// Calendar dates and times of day as the driver handles them: local time without a zone, on the
// standard library's calendar types. Every conversion the driver makes (the automation DATE, the
// printer's BCD fields, the locale's text patterns) goes through this one module.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorfp {

struct DateTime {
  std::chrono::year_month_day date{std::chrono::year{1899}, std::chrono::December, std::chrono::day{30}};
  std::chrono::milliseconds time{0};  // since midnight

  // nullopt unless the date exists and the time is 00:00:00.000 to 23:59:59.999.
  static std::optional<DateTime> From(int year, int month, int day, int hour = 0, int minute = 0,
                                      int second = 0, int millisecond = 0);

  int year() const { return static_cast<int>(date.year()); }
  int month() const { return static_cast<int>(static_cast<unsigned>(date.month())); }
  int day() const { return static_cast<int>(static_cast<unsigned>(date.day())); }
  int hour() const { return static_cast<int>(time.count() / 3'600'000); }
  int minute() const { return static_cast<int>(time.count() / 60'000 % 60); }
  int second() const { return static_cast<int>(time.count() / 1000 % 60); }
  int millisecond() const { return static_cast<int>(time.count() % 1000); }

  bool operator==(const DateTime&) const = default;
};

// The printers keep two year digits, and every printer of these protocols is of this century.
constexpr int CompleteYear(int two_digits) { return 2000 + two_digits; }

// Automation DATE: days since 1899-12-30 with the time of day as the fraction. Before the epoch
// the day counts down while the time still counts up: -1.25 is 1899-12-29 06:00.
// nullopt for years outside 100..9999 (and for NaN and infinities).
std::optional<double> ToOleDate(const DateTime& t);
std::optional<DateTime> FromOleDate(double date);  // rounded to the second

// The text forms the automation boundary accepts and prints: "YYYY-MM-DD", "YYYY-MM-DDTHH:MM[:SS]"
// (or with a blank for the T), "DD.MM.YYYY[ HH:MM[:SS]]"; printed as "YYYY-MM-DD", or with
// "THH:MM:SS" when there is a time of day.
std::optional<double> ParseDateText(std::string_view text);
std::string DateText(double date);

// The local wall time of a moment (per OS: local_time_posix.cpp / local_time_win32.cpp).
DateTime LocalDateTime(std::chrono::system_clock::time_point t);

}  // namespace zorfp
