// The C library's time locale, translated into Windows-style patterns. The process-wide locale
// is never changed: the user's LC_TIME is opened on the side with newlocale().
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

#include "dates/locale_formats.h"

namespace zorfp {
namespace {

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
  formats = FromStrftimeFormats(::nl_langinfo_l(D_FMT, loc), ::nl_langinfo_l(T_FMT, loc));
  // A locale without a 12-hour clock has no designators; the defaults then never show.
  if (const char* am = ::nl_langinfo_l(AM_STR, loc); am != nullptr && *am != '\0') formats.am = am;
  if (const char* pm = ::nl_langinfo_l(PM_STR, loc); pm != nullptr && *pm != '\0') formats.pm = pm;
  ::freelocale(loc);
  return formats;
}

}  // namespace zorfp
