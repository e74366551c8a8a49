// The printer's clock (commands 0x01 to 0x04) and the fiscalization moment of the status block,
// as dates and times in the locale's formats or as automation DATE values. 05-02 and 05-03 also
// keep the date and the time last read or set (StoredDate, StoredTime). The members are bindings
// over these (server/bind/clock.cpp).
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

#include "dates/bcd.h"
#include "dates/locale_formats.h"
#include "driver/driver.h"

namespace zorfp {

ClockValues& HeldClock(Driver& d);

// The printer's date and time; nullopt when there is no answer, the printer refuses, or its
// fields are no date or time (code 30). 05-02 and 05-03 keep what was read.
std::optional<std::chrono::year_month_day> ReadPrinterDate(Driver& d);
std::optional<std::chrono::seconds> ReadPrinterTime(Driver& d);

// Sets the printer's clock from a date or time value, its fields taken from the value itself.
// A date outside 2000 to 2099 (an unset date, 1899, NaN) or a time value that is no time is
// refused with code 30 and nothing is sent: the printer keeps two year digits only.
bool WritePrinterDate(Driver& d, double date);
bool WritePrinterTime(Driver& d, double time);

// The fields of a client's time text: H:MM:SS or HH:MM:SS with the locale's time separator, and,
// on a 12-hour clock, "AM" or "PM" (or the locale's own designators) before or after it. nullopt
// for any other text, or hours, minutes or seconds out of range.
std::optional<BcdTime> TimeTextFields(std::string_view text, const LocaleFormats& locale);

// Newer classes; the older ones read the clock as FPGetDate and FPGetTime, and set it from a
// value with FPSetDate and FPSetTime (WritePrinterDate, WritePrinterTime).
AnsiString GetCurrentDate(Driver& d);
void PutCurrentDate(Driver& d, const AnsiString& text);
AnsiString GetCurrentTime(Driver& d);
void PutCurrentTime(Driver& d, const AnsiString& text);

// The fiscalization moment of a fresh status block: as short-date and long-time text, and (05-02,
// 05-03) as one value, 0 when the block could not be read.
AnsiString GetRegistrationDate(Driver& d);
AnsiString GetRegistrationTime(Driver& d);
double GetRegistrationDateTime(Driver& d);

// The moment FPGetCurrentStatus kept (05-02, 05-03); no printer traffic.
double FiscalizationDateTime(Driver& d);
AnsiString FiscalizationDateStr(Driver& d);
AnsiString FiscalizationTimeStr(Driver& d);

// 05-02 and 05-03: the stored values, and the clock read into or set from them.
double GetCurrentDateEx(Driver& d);
void PutCurrentDateEx(Driver& d, double date);
double GetCurrentTimeEx(Driver& d);
void PutCurrentTimeEx(Driver& d, double time);
bool FPGetCurrentDate(Driver& d);
bool FPSetCurrentDate(Driver& d);
bool FPGetCurrentTime(Driver& d);
bool FPSetCurrentTime(Driver& d);

}  // namespace zorfp
