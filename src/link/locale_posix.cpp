// The C library's time locale, translated into Windows-style patterns. The process-wide locale
// is never changed: the user's LC_TIME is opened on the side with newlocale().
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

#include "link/locale.h"

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
  ::freelocale(loc);
  return formats;
}

}  // namespace zorfp
