#include "dates/date_time.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "dates/local_tm.h"

namespace zorfp {

using namespace std::chrono;

namespace {

constexpr sys_days kOleEpoch = sys_days{year{1899} / December / 30};
constexpr long long kMsPerDay = 86'400'000;

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

bool InOleRange(const year_month_day& d) {
  return d.year() >= year{100} && d.year() <= year{9999};
}

}  // namespace

std::optional<DateTime> DateTime::From(int y, int m, int d, int hour, int minute, int second, int ms) {
  if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  // Qualified: inside the class, year, month and day name its accessors.
  const year_month_day ymd{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                           std::chrono::day{static_cast<unsigned>(d)}};
  if (!ymd.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      ms < 0 || ms > 999) {
    return std::nullopt;
  }
  return DateTime{ymd, hours{hour} + minutes{minute} + seconds{second} + milliseconds{ms}};
}

std::optional<double> ToOleDate(const DateTime& t) {
  if (!t.date.ok() || !InOleRange(t.date) || t.time < 0ms || t.time.count() >= kMsPerDay) {
    return std::nullopt;
  }
  const double days = static_cast<double>((sys_days{t.date} - kOleEpoch).count());
  const double fraction = static_cast<double>(duration_cast<seconds>(t.time).count()) / 86400.0;
  return days >= 0 ? days + fraction : days - fraction;
}

std::optional<DateTime> FromOleDate(double date) {
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return std::nullopt;
  double whole = std::trunc(date);
  long long secs = std::llround(std::fabs(date - whole) * 86400.0);
  if (secs >= 86400) {
    secs -= 86400;
    whole += date >= 0 ? 1 : -1;
  }
  const year_month_day d{kOleEpoch + days{static_cast<long long>(whole)}};
  if (!InOleRange(d)) return std::nullopt;
  return DateTime{d, seconds{secs}};
}

std::optional<double> ParseDateText(std::string_view s) {
  int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
  std::size_t pos = 0;
  if (Digits(s, pos, 4, y)) {
    if (!Char(s, pos, '-') || !Digits(s, pos, 2, m) || !Char(s, pos, '-') || !Digits(s, pos, 2, d)) {
      return std::nullopt;
    }
  } else {
    pos = 0;
    if (!Digits(s, pos, 2, d) || !Char(s, pos, '.') || !Digits(s, pos, 2, m) || !Char(s, pos, '.') ||
        !Digits(s, pos, 4, y)) {
      return std::nullopt;
    }
  }
  if (pos < s.size()) {
    if (!Char(s, pos, 'T') && !Char(s, pos, ' ')) return std::nullopt;
    if (!Digits(s, pos, 2, hh) || !Char(s, pos, ':') || !Digits(s, pos, 2, mm)) return std::nullopt;
    if (pos < s.size() && (!Char(s, pos, ':') || !Digits(s, pos, 2, ss))) return std::nullopt;
    if (pos != s.size()) return std::nullopt;
  }
  const std::optional<DateTime> t = DateTime::From(y, m, d, hh, mm, ss);
  return t ? ToOleDate(*t) : std::nullopt;
}

std::string DateText(double date) {
  const std::optional<DateTime> t = FromOleDate(date);
  if (!t) return std::to_string(date);
  char text[32];
  if (t->time == 0ms) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t->year(), t->month(), t->day());
  } else {
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t->year(), t->month(), t->day(),
                  t->hour(), t->minute(), t->second());
  }
  return text;
}

DateTime LocalDateTime(std::chrono::system_clock::time_point t) {
  const auto secs = floor<seconds>(t);
  const std::tm tm = LocalTm(system_clock::to_time_t(secs));
  const auto ms = static_cast<int>(duration_cast<milliseconds>(t - secs).count());
  // A leap second shows as the last second of its minute.
  return DateTime::From(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec > 59 ? 59 : tm.tm_sec, ms)
      .value_or(DateTime{});
}

}  // namespace zorfp
