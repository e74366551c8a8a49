// The user's short date format, date and time separators and long time format.
#include <windows.h>

#include "dates/locale_formats.h"

namespace zorfp {
namespace {

std::string Query(LCTYPE type) {
  wchar_t buffer[128] = {};
  const int n = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
  if (n <= 1) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, buffer, n - 1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, buffer, n - 1, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

LocaleFormats SystemLocaleFormats() {
  LocaleFormats formats;
  if (auto v = Query(LOCALE_SSHORTDATE); !v.empty()) formats.short_date = v;
  if (auto v = Query(LOCALE_SDATE); !v.empty()) formats.date_separator = v;
  if (auto v = Query(LOCALE_STIME); !v.empty()) formats.time_separator = v;
  if (auto v = Query(LOCALE_STIMEFORMAT); !v.empty()) formats.long_time = v;
  if (auto v = Query(LOCALE_S1159); !v.empty()) formats.am = v;
  if (auto v = Query(LOCALE_S2359); !v.empty()) formats.pm = v;
  return formats;
}

}  // namespace zorfp
