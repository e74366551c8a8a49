#include "link/locale.h"

#include <optional>

namespace zorfp {
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
      if (std::string("dMyHhmszt'").find(f[i]) != std::string::npos) return std::nullopt;
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

std::string FormatDateTime(const std::string& pattern, const CivilTime& t, const LocaleFormats& locale) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    switch (c) {
      case 'd': out += Number(t.day, run >= 2 ? 2 : 1); break;
      case 'M': out += Number(t.month, run >= 2 ? 2 : 1); break;
      case 'y': out += run <= 2 ? Number(t.year % 100, 2) : Number(t.year, 4); break;
      case 'H': out += Number(t.hour, run >= 2 ? 2 : 1); break;
      case 'h': out += Number(t.hour % 12 == 0 ? 12 : t.hour % 12, run >= 2 ? 2 : 1); break;
      case 'm': out += Number(t.minute, run >= 2 ? 2 : 1); break;
      case 's': out += Number(t.second, run >= 2 ? 2 : 1); break;
      case 'z': out += Number(t.millisecond, 3); break;
      case 't': out += t.hour < 12 ? (run >= 2 ? "AM" : "A") : (run >= 2 ? "PM" : "P"); break;
      case '/':
        for (std::size_t k = 0; k < run; ++k) out += locale.date_separator;
        break;
      case ':':
        for (std::size_t k = 0; k < run; ++k) out += locale.time_separator;
        break;
      case '\'': {
        const std::size_t end = pattern.find('\'', i + 1);
        const std::size_t stop = end == std::string::npos ? pattern.size() : end;
        out.append(pattern, i + 1, stop - i - 1);
        i = stop == pattern.size() ? stop : stop + 1;
        continue;
      }
      default: out.append(run, c); break;
    }
    i += run;
  }
  return out;
}

}  // namespace zorfp
