// The date and time texts clients hand in, read by every locale pattern the driver knows, and the
// automation DATE both ways. Whatever reads must read back the same after it is written out.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "dates/date_time.h"
#include "dates/locale_formats.h"
#include "fuzz_support.h"

using namespace zorfp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const LocaleFormats kLocales[] = {
      {},
      {"M/d/yyyy", "/", ":", "h:mm:ss tt"},
      {"yyyy-MM-dd", "-", ".", "HH.mm.ss"},
      {"yy.dd.MM", ".", ":", "H:mm"},
      {"", "", "", ""},
  };
  fuzz::Input in(data, size);
  const LocaleFormats& locale = kLocales[in.U8() % std::size(kLocales)];
  double ole;
  const std::uint64_t bits = in.U64();
  std::memcpy(&ole, &bits, sizeof ole);
  const auto bytes = in.Take(size);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());

  if (const auto date = ParseShortDate(text, locale)) {
    // Written out and read back, a date stays the same day; with a two-digit year, of this century.
    const auto again = ParseShortDate(FormatShortDate(*date, locale), locale);
    const bool full_year = locale.short_date.find("yyyy") != std::string::npos;
    if (!locale.short_date.empty() &&
        (!again || again->month() != date->month() || again->day() != date->day() ||
         (full_year ? again->year() != date->year()
                    : static_cast<int>(again->year()) % 100 != static_cast<int>(date->year()) % 100))) {
      __builtin_trap();
    }
  }
  if (const auto time = ParseTime(text, locale)) {
    if (*time < std::chrono::seconds(0) || *time >= std::chrono::hours(24)) __builtin_trap();
  }
  if (const auto parsed = ParseDateText(text)) {
    if (ParseDateText(DateText(*parsed)) != parsed) __builtin_trap();
  }
  if (const auto t = FromOleDate(ole)) {
    FormatDateTime(locale.short_date + " " + locale.long_time, *t, locale);
    if (!ToOleDate(*t)) __builtin_trap();
  }
  DateText(ole);
  return 0;
}
