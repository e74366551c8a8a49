// OLE automation dates (days since 1899-12-30, the time as the fraction) and the text forms the
// boundary accepts and prints.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorfp::server {

struct CivilDateTime {
  int year, month, day;
  int hour = 0, minute = 0, second = 0;
};

// nullopt for a date that does not exist (2023-02-30) or a time out of range.
std::optional<double> ToOleDate(const CivilDateTime& t);
// Rounded to the second; nullopt outside years 100..9999.
std::optional<CivilDateTime> FromOleDate(double date);

// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM[:SS]" or with a blank instead of T; also "DD.MM.YYYY[ HH:MM[:SS]]".
std::optional<double> ParseDateText(std::string_view text);
// "YYYY-MM-DD", or "YYYY-MM-DDTHH:MM:SS" when there is a time of day.
std::string DateText(double date);

}  // namespace zorfp::server
