// The printer's BCD fields: two decimal digits in a byte, tens in the high nibble. Dates travel as
// day, month and the year's last two digits; times as hours (0 to 23), minutes and seconds.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace zorfp {

// Numbers above 99 keep their last two digits.
constexpr std::uint8_t BcdByte(unsigned number) {
  return static_cast<std::uint8_t>((number / 10 % 10) * 16 + number % 10);
}
// Not checked: nibbles above 9 count as they stand (0x1A reads 20).
constexpr unsigned BcdValue(std::uint8_t b) { return (b / 16u) * 10u + b % 16u; }

struct BcdDate {
  std::uint8_t day = 0, month = 0, year = 0;
  bool operator==(const BcdDate&) const = default;
};
struct BcdTime {
  std::uint8_t hours = 0, minutes = 0, seconds = 0;
  bool operator==(const BcdTime&) const = default;
};

// The date the fields stand for (the year completed to this century); nullopt when there is no
// such day.
std::optional<std::chrono::year_month_day> DateFromBcd(const BcdDate& bcd);
// The fields of a date, taken from the date itself. Only years 2000 to 2099 have them: the printer
// keeps two digits and would read any other year as one of this century.
std::optional<BcdDate> BcdFromDate(const std::chrono::year_month_day& date);

// nullopt for hours above 23, minutes or seconds above 59.
std::optional<std::chrono::seconds> TimeFromBcd(const BcdTime& bcd);
// Whole seconds of a time of day (the fraction is dropped).
BcdTime BcdFromTime(std::chrono::milliseconds time_of_day);

}  // namespace zorfp
