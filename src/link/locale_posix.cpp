// The C library's time locale, translated into Windows-style patterns. The process-wide locale
// is never changed: the user's LC_TIME is opened on the side with newlocale().
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <optional>

#include "link/locale.h"

namespace zorfp {
namespace {

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

std::string EffectiveTimeLocaleName() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') return v;
  }
  return "C";
}

}  // namespace

LocaleFormats SystemLocaleFormats() {
  LocaleFormats formats;  // the defaults
  const std::string name = EffectiveTimeLocaleName();
  // The C locale is nobody's choice of date order: keep the defaults.
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) return formats;
  locale_t loc = ::newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return formats;
  const auto date = FromStrftime(::nl_langinfo_l(D_FMT, loc));
  const auto time = FromStrftime(::nl_langinfo_l(T_FMT, loc));
  ::freelocale(loc);
  if (date) {
    if (const auto sep = Separator(*date, "dMy")) {
      formats.short_date = *date;
      formats.date_separator = *sep;
    }
  }
  if (time) {
    if (const auto sep = Separator(*time, "Hhms")) {
      formats.long_time = *time;
      formats.time_separator = *sep;
    }
  }
  return formats;
}

}  // namespace zorfp
