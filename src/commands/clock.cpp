#include "commands/clock.h"

#include <cctype>
#include <string>

#include "commands/decimal_text.h"
#include "commands/status.h"
#include "commands/wire.h"
#include "dates/date_time.h"
#include "errors/encodings.h"
#include "errors/texts_clock.h"

namespace zorfp {
namespace {

using namespace std::chrono;

constexpr Byte kReadDate = 0x01;
constexpr Byte kWriteDate = 0x02;
constexpr Byte kReadTime = 0x03;
constexpr Byte kWriteTime = 0x04;

constexpr double kSecondsPerDay = 86400.0;

const LocaleFormats& Locale(const Driver& d) {
  return d.module().env.locale;
}

AnsiString ToClient(const Driver& d, const std::string& text) {
  return ClientTextOut(text, d.module().settings.CP866);
}

// 05-02 and 05-03 keep the date and time they read and set.
bool KeepsStoredValues(const Driver& d) {
  return d.traits().id == VariantId::k05_02 || d.traits().id == VariantId::k05_03;
}

double DateValue(const year_month_day& date) {
  return ToOleDate(DateTime{date, 0ms}).value_or(0);
}

double TimeValue(seconds time) {
  return static_cast<double>(time.count()) / kSecondsPerDay;
}

bool SendDate(Driver& d, const BcdDate& date) {
  return d.Execute(Command(kWriteDate).Date(date));
}

bool SendTime(Driver& d, const BcdTime& time) {
  return d.Execute(Command(kWriteTime).Time(time));
}

// The parts of a DATE value; nullopt for NaN and values beyond the calendar.
std::optional<DateTime> Moment(double value) {
  return FromOleDate(value);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Removes `designator` from either end of `s`; true when it was there.
bool TakeDesignator(std::string& s, std::string_view designator) {
  if (designator.empty() || s.size() < designator.size()) return false;
  if (EqualsIgnoringCase(std::string_view(s).substr(s.size() - designator.size()), designator)) {
    s = Trim(std::string_view(s).substr(0, s.size() - designator.size()));
    return true;
  }
  if (EqualsIgnoringCase(std::string_view(s).substr(0, designator.size()), designator)) {
    s = Trim(std::string_view(s).substr(designator.size()));
    return true;
  }
  return false;
}

// A number of exactly `min` to `max` digits.
std::optional<unsigned> Digits(std::string_view s, std::size_t min, std::size_t max) {
  if (s.size() < min || s.size() > max) return std::nullopt;
  unsigned value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

}  // namespace

ClockValues& HeldClock(Driver& d) {
  return d.held().clock;
}

std::optional<year_month_day> ReadPrinterDate(Driver& d) {
  const auto bcd = Query<BcdDate>(d, Command(kReadDate), [](AnswerReader& r, BcdDate& b) { b = r.Date(); },
                                  {.more_allowed = true});
  if (!bcd) return std::nullopt;
  const auto date = DateFromBcd(*bcd);
  if (!date) {
    d.Reject(texts::kDateTransformError);
    return std::nullopt;
  }
  if (KeepsStoredValues(d)) HeldClock(d).StoredDate = DateValue(*date);
  return date;
}

std::optional<seconds> ReadPrinterTime(Driver& d) {
  const auto bcd = Query<BcdTime>(d, Command(kReadTime), [](AnswerReader& r, BcdTime& b) { b = r.Time(); },
                                  {.more_allowed = true});
  if (!bcd) return std::nullopt;
  const auto time = TimeFromBcd(*bcd);
  if (!time) {
    d.Reject(texts::kTimeFormatError);
    return std::nullopt;
  }
  if (KeepsStoredValues(d)) HeldClock(d).StoredTime = TimeValue(*time);
  return time;
}

bool WritePrinterDate(Driver& d, double date) {
  const auto moment = Moment(date);
  const auto fields = moment ? BcdFromDate(moment->date) : std::nullopt;
  if (!fields) return d.Reject(texts::kDateFormatError);
  return SendDate(d, *fields);
}

bool WritePrinterTime(Driver& d, double time) {
  const auto moment = Moment(time);
  if (!moment) return d.Reject(texts::kTimeFormatError);
  return SendTime(d, BcdFromTime(moment->time));
}

std::optional<BcdTime> TimeTextFields(std::string_view text, const LocaleFormats& locale) {
  std::string s = Trim(text);
  const bool am = TakeDesignator(s, locale.am) || TakeDesignator(s, "AM");
  const bool pm = !am && (TakeDesignator(s, locale.pm) || TakeDesignator(s, "PM"));
  std::string_view sep = locale.time_separator;
  if (sep.empty()) sep = ":";
  const std::size_t first = s.find(sep);
  const std::size_t second = first == std::string::npos ? first : s.find(sep, first + sep.size());
  if (second == std::string::npos) return std::nullopt;
  const std::string_view view(s);
  const auto h = Digits(view.substr(0, first), 1, 2);
  const auto m = Digits(view.substr(first + sep.size(), second - first - sep.size()), 2, 2);
  const auto sec = Digits(view.substr(second + sep.size()), 2, 2);
  if (!h || !m || !sec || *m > 59 || *sec > 59) return std::nullopt;
  unsigned hours = *h;
  if (am || pm) {
    if (hours < 1 || hours > 12) return std::nullopt;
    if (am && hours == 12) hours = 0;
    if (pm && hours != 12) hours += 12;
  } else if (hours > 23) {
    return std::nullopt;
  }
  return BcdTime{BcdByte(hours), BcdByte(*m), BcdByte(*sec)};
}

AnsiString GetCurrentDate(Driver& d) {
  const auto date = ReadPrinterDate(d);
  return date ? ToClient(d, FormatShortDate(*date, Locale(d))) : AnsiString();
}

void PutCurrentDate(Driver& d, const AnsiString& text) {
  const auto date = ParseShortDate(Trim(ClientTextIn(text, d.module().settings.CP866)), Locale(d));
  if (!date) {
    d.Reject(texts::kDateFormatError);
    return;
  }
  const double value = DateValue(*date);
  if (KeepsStoredValues(d)) HeldClock(d).StoredDate = value;
  WritePrinterDate(d, value);
}

AnsiString GetCurrentTime(Driver& d) {
  const auto time = ReadPrinterTime(d);
  return time ? ToClient(d, FormatLongTime(*time, Locale(d))) : AnsiString();
}

void PutCurrentTime(Driver& d, const AnsiString& text) {
  const AnsiString s = Trim(ClientTextIn(text, d.module().settings.CP866));
  if (KeepsStoredValues(d)) {
    const auto time = ParseTime(s, Locale(d));
    if (!time) {
      d.Reject(texts::kTimeFormatError);
      return;
    }
    HeldClock(d).StoredTime = TimeValue(*time);
    WritePrinterTime(d, HeldClock(d).StoredTime);
    return;
  }
  // The other newer classes send the text's own fields, so it must read as a time already.
  const auto fields = TimeTextFields(s, Locale(d));
  if (!fields) {
    d.Reject(texts::kTimeFormatError);
    return;
  }
  SendTime(d, *fields);
}

namespace {

std::optional<DateTime> RegistrationMoment(Driver& d) {
  const auto block = ReadStatus(d);
  if (!block) return std::nullopt;
  const auto moment = Moment(block->FiscalizationDateTime);
  if (!moment || block->FiscalizationDateTime == 0) {
    d.Reject(texts::kDateTransformError);
    return std::nullopt;
  }
  return moment;
}

}  // namespace

AnsiString GetRegistrationDate(Driver& d) {
  const auto moment = RegistrationMoment(d);
  return moment ? ToClient(d, FormatShortDate(moment->date, Locale(d))) : AnsiString();
}

AnsiString GetRegistrationTime(Driver& d) {
  const auto moment = RegistrationMoment(d);
  return moment ? ToClient(d, FormatLongTime(moment->time, Locale(d))) : AnsiString();
}

double GetRegistrationDateTime(Driver& d) {
  const auto block = ReadStatus(d);
  return block ? block->FiscalizationDateTime : 0;
}

double FiscalizationDateTime(Driver& d) {
  return HeldStatus(d).FiscalizationDateTime;
}

AnsiString FiscalizationDateStr(Driver& d) {
  const auto moment = Moment(FiscalizationDateTime(d));
  return moment ? ToClient(d, FormatShortDate(moment->date, Locale(d))) : AnsiString();
}

AnsiString FiscalizationTimeStr(Driver& d) {
  const auto moment = Moment(FiscalizationDateTime(d));
  return moment ? ToClient(d, FormatLongTime(moment->time, Locale(d))) : AnsiString();
}

double GetCurrentDateEx(Driver& d) {
  return HeldClock(d).StoredDate;
}

void PutCurrentDateEx(Driver& d, double date) {
  HeldClock(d).StoredDate = date;
}

double GetCurrentTimeEx(Driver& d) {
  return HeldClock(d).StoredTime;
}

void PutCurrentTimeEx(Driver& d, double time) {
  HeldClock(d).StoredTime = time;
}

bool FPGetCurrentDate(Driver& d) {
  return ReadPrinterDate(d).has_value();
}

bool FPSetCurrentDate(Driver& d) {
  return WritePrinterDate(d, HeldClock(d).StoredDate);
}

bool FPGetCurrentTime(Driver& d) {
  return ReadPrinterTime(d).has_value();
}

bool FPSetCurrentTime(Driver& d) {
  return WritePrinterTime(d, HeldClock(d).StoredTime);
}

}  // namespace zorfp
