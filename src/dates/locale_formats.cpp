#include "dates/locale_formats.h"

#include <charconv>
#include <vector>

namespace zorfp {

using namespace std::chrono;

namespace {

std::string Number(int value, std::size_t width) {
  std::string s = std::to_string(value < 0 ? -value : value);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

// Translates a strftime format into a Windows pattern; nullopt for anything we cannot express.
std::optional<std::string> FromStrftime(const std::string& f) {
  std::string out;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') {
      if (std::string_view("dMyHhmszt'").find(f[i]) != std::string_view::npos) return std::nullopt;
      out += f[i];
      continue;
    }
    if (++i >= f.size()) return std::nullopt;
    char c = f[i];
    if (c == 'E' || c == 'O') {  // alternative forms: use the plain field
      if (++i >= f.size()) return std::nullopt;
      c = f[i];
    }
    switch (c) {
      case 'd': out += "dd"; break;
      case 'e': out += "d"; break;
      case 'm': out += "MM"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'H': out += "HH"; break;
      case 'k': out += "H"; break;
      case 'I': out += "hh"; break;
      case 'l': out += "h"; break;
      case 'M': out += "mm"; break;
      case 'S': out += "ss"; break;
      case 'p': out += "tt"; break;
      case 'D': out += "MM/dd/yy"; break;
      case 'F': out += "yyyy-MM-dd"; break;
      case 'T': out += "HH:mm:ss"; break;
      case 'R': out += "HH:mm"; break;
      default: return std::nullopt;
    }
  }
  return out;
}

// The first character between two fields: what the locale puts between day, month and year.
std::optional<std::string> Separator(const std::string& pattern, const std::string& fields) {
  std::size_t i = pattern.find_first_of(fields);
  if (i == std::string::npos) return std::nullopt;
  i = pattern.find_first_not_of(fields, i);
  if (i == std::string::npos) return std::nullopt;
  return pattern.substr(i, 1);
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Splits `text` at `separator` into numbers of 1 to `max_digits` digits; nullopt when a part is
// anything else.
std::optional<std::vector<std::pair<int, std::size_t>>> Numbers(std::string_view text,
                                                               std::string_view separator,
                                                               std::size_t max_digits) {
  if (separator.empty()) return std::nullopt;
  std::vector<std::pair<int, std::size_t>> out;  // value, digit count
  while (true) {
    const std::size_t end = text.find(separator);
    const std::string_view part = text.substr(0, end);
    if (part.empty() || part.size() > max_digits) return std::nullopt;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (ec != std::errc() || ptr != part.data() + part.size() || part.front() == '-' || part.front() == '+') {
      return std::nullopt;
    }
    out.emplace_back(value, part.size());
    if (end == std::string_view::npos) return out;
    text.remove_prefix(end + separator.size());
  }
}

// Removes a trailing designator; true when it was there.
bool StripSuffix(std::string_view& s, std::string_view suffix) {
  if (suffix.empty() || s.size() < suffix.size() || s.substr(s.size() - suffix.size()) != suffix) return false;
  s = Trimmed(s.substr(0, s.size() - suffix.size()));
  return true;
}

}  // namespace

LocaleFormats FromStrftimeFormats(const std::string& date_format, const std::string& time_format) {
  LocaleFormats formats;
  if (const auto date = FromStrftime(date_format)) {
    if (const auto sep = Separator(*date, "dMy")) {
      formats.short_date = *date;
      formats.date_separator = *sep;
    }
  }
  if (const auto time = FromStrftime(time_format)) {
    if (const auto sep = Separator(*time, "Hhms")) {
      formats.long_time = *time;
      formats.time_separator = *sep;
    }
  }
  return formats;
}

std::string FormatDateTime(std::string_view pattern, const DateTime& t, const LocaleFormats& locale) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    const std::size_t width = run >= 2 ? 2 : 1;
    switch (c) {
      case 'd': out += Number(t.day(), width); break;
      case 'M': out += Number(t.month(), width); break;
      case 'y': out += run <= 2 ? Number(t.year() % 100, 2) : Number(t.year(), 4); break;
      case 'H': out += Number(t.hour(), width); break;
      case 'h': out += Number(t.hour() % 12 == 0 ? 12 : t.hour() % 12, width); break;
      case 'm': out += Number(t.minute(), width); break;
      case 's': out += Number(t.second(), width); break;
      case 'z': out += Number(t.millisecond(), 3); break;
      case 't': {
        const std::string& designator = t.hour() < 12 ? locale.am : locale.pm;
        out += run >= 2 ? designator : designator.substr(0, 1);
        break;
      }
      case '/':
        for (std::size_t k = 0; k < run; ++k) out += locale.date_separator;
        break;
      case ':':
        for (std::size_t k = 0; k < run; ++k) out += locale.time_separator;
        break;
      case '\'': {
        const std::size_t end = pattern.find('\'', i + 1);
        const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
        out.append(pattern.substr(i + 1, stop - i - 1));
        i = stop == pattern.size() ? stop : stop + 1;
        continue;
      }
      default: out.append(run, c); break;
    }
    i += run;
  }
  return out;
}

std::string FormatShortDate(const year_month_day& date, const LocaleFormats& locale) {
  return FormatDateTime(locale.short_date, DateTime{date, 0ms}, locale);
}

std::string FormatLongTime(milliseconds time_of_day, const LocaleFormats& locale) {
  return FormatDateTime(locale.long_time, DateTime{year_month_day{}, time_of_day}, locale);
}

DateOrder ShortDateOrder(const LocaleFormats& locale) {
  const auto at = [&](char c) {
    const std::size_t upper = locale.short_date.find(static_cast<char>(c - 'a' + 'A'));
    const std::size_t lower = locale.short_date.find(c);
    return std::min(upper, lower);
  };
  const std::size_t d = at('d'), m = at('m'), y = at('y');
  if (d < m && y < d) return DateOrder::kYearDayMonth;
  if (m < d && y < m) return DateOrder::kYearMonthDay;
  if (m < d && d < y) return DateOrder::kMonthDayYear;
  return DateOrder::kDayMonthYear;
}

std::optional<year_month_day> ParseShortDate(std::string_view text, const LocaleFormats& locale) {
  const auto parts = Numbers(Trimmed(text), locale.date_separator, 4);
  if (!parts || parts->size() != 3) return std::nullopt;
  const auto& p = *parts;
  std::size_t d = 0, m = 1, y = 2;
  switch (ShortDateOrder(locale)) {
    case DateOrder::kDayMonthYear: break;
    case DateOrder::kMonthDayYear: d = 1, m = 0; break;
    case DateOrder::kYearMonthDay: y = 0, m = 1, d = 2; break;
    case DateOrder::kYearDayMonth: y = 0, d = 1, m = 2; break;
  }
  // A year is one or two digits of this century, or four digits from the year 100 on.
  if (p[d].second > 2 || p[m].second > 2 || p[y].second == 3) return std::nullopt;
  if (p[y].second == 4 && p[y].first < 100) return std::nullopt;
  const int year = p[y].second <= 2 ? CompleteYear(p[y].first) : p[y].first;
  const auto t = DateTime::From(year, p[m].first, p[d].first);
  if (!t) return std::nullopt;
  return t->date;
}

std::optional<seconds> ParseTime(std::string_view text, const LocaleFormats& locale) {
  std::string_view s = Trimmed(text);
  const bool am = StripSuffix(s, locale.am);
  const bool pm = !am && StripSuffix(s, locale.pm);
  const auto parts = Numbers(s, locale.time_separator, 2);
  if (!parts || parts->size() < 2 || parts->size() > 3) return std::nullopt;
  int hour = (*parts)[0].first;
  const int minute = (*parts)[1].first;
  const int second = parts->size() == 3 ? (*parts)[2].first : 0;
  if ((*parts)[1].second != 2 || (parts->size() == 3 && (*parts)[2].second != 2)) return std::nullopt;
  if (am || pm) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return hours{hour} + minutes{minute} + seconds{second};
}

}  // namespace zorfp
