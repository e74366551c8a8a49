#include "link/locale.h"

#include <cstdio>

namespace zorfp {
namespace {

std::string Number(int value, std::size_t width) {
  std::string s = std::to_string(value < 0 ? -value : value);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

}  // namespace

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
