#include "server/ole_date.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zorfp::server {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDateTime CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400) + (m <= 2);
  return {y, m, d};
}

constexpr long long kOleEpoch = -25569;  // 1899-12-30 in days from 1970-01-01

bool ValidDay(int y, int m, int d) {
  if (m < 1 || m > 12 || d < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

// Reads exactly `digits` digits at `pos`.
bool Digits(std::string_view s, std::size_t& pos, int digits, int& out) {
  if (pos + digits > s.size()) return false;
  const char* first = s.data() + pos;
  for (int i = 0; i < digits; ++i) {
    if (first[i] < '0' || first[i] > '9') return false;
  }
  std::from_chars(first, first + digits, out);
  pos += digits;
  return true;
}

bool Char(std::string_view s, std::size_t& pos, char c) {
  if (pos >= s.size() || s[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::optional<double> ToOleDate(const CivilDateTime& t) {
  if (t.year < 100 || t.year > 9999 || !ValidDay(t.year, t.month, t.day)) return std::nullopt;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
    return std::nullopt;
  }
  const double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kOleEpoch);
  const double fraction = (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
  // Before the epoch the day counts down while the time still counts up: -1.25 is 1899-12-29 06:00.
  return days >= 0 ? days + fraction : days - fraction;
}

std::optional<CivilDateTime> FromOleDate(double date) {
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return std::nullopt;
  double whole = std::trunc(date);
  long long seconds = std::llround(std::fabs(date - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += date >= 0 ? 1 : -1;
  }
  CivilDateTime t = CivilFromDays(static_cast<long long>(whole) + kOleEpoch);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

std::optional<double> ParseDateText(std::string_view s) {
  CivilDateTime t{};
  std::size_t pos = 0;
  if (Digits(s, pos, 4, t.year)) {
    if (!Char(s, pos, '-') || !Digits(s, pos, 2, t.month) || !Char(s, pos, '-') ||
        !Digits(s, pos, 2, t.day)) {
      return std::nullopt;
    }
  } else {
    pos = 0;
    if (!Digits(s, pos, 2, t.day) || !Char(s, pos, '.') || !Digits(s, pos, 2, t.month) ||
        !Char(s, pos, '.') || !Digits(s, pos, 4, t.year)) {
      return std::nullopt;
    }
  }
  if (pos < s.size()) {
    if (!Char(s, pos, 'T') && !Char(s, pos, ' ')) return std::nullopt;
    if (!Digits(s, pos, 2, t.hour) || !Char(s, pos, ':') || !Digits(s, pos, 2, t.minute)) return std::nullopt;
    if (pos < s.size() && (!Char(s, pos, ':') || !Digits(s, pos, 2, t.second))) return std::nullopt;
    if (pos != s.size()) return std::nullopt;
  }
  return ToOleDate(t);
}

std::string DateText(double date) {
  const std::optional<CivilDateTime> t = FromOleDate(date);
  if (!t) return std::to_string(date);
  char text[32];
  if (t->hour == 0 && t->minute == 0 && t->second == 0) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t->year, t->month, t->day);
  } else {
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t->year, t->month, t->day, t->hour,
                  t->minute, t->second);
  }
  return text;
}

}  // namespace zorfp::server
