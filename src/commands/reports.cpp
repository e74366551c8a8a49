#include "commands/reports.h"

#include <algorithm>

#include "commands/decimal_text.h"
#include "commands/journal.h"
#include "commands/memory_card.h"
#include "commands/wire.h"
#include "dates/date_time.h"
#include "dates/locale_formats.h"
#include "driver/long_job.h"
#include "errors/encodings.h"
#include "errors/texts_reports.h"

namespace zorfp {
namespace {

constexpr Byte kArtReport = 0x07;
constexpr Byte kXReport = 0x09;
constexpr Byte kXArtReport = 0x0A;
constexpr Byte kZReport = 0x0D;
constexpr Byte kPeriodicReport = 0x11;
constexpr Byte kPeriodicReportShort = 0x1A;
constexpr Byte kPeriodicNumberReport = 0x1F;
constexpr std::uint16_t kPasswordRefused = 0xFFFF;
constexpr std::uint16_t kNextZAddress = 0x0037;
constexpr std::uint16_t kLastZDateAddress = 0x0169;
constexpr Byte kRegisterPage = 0x10;
constexpr int kArticleBits = 48;

Command Report(Byte code, std::uint16_t password) {
  return std::move(Command(code).UIntLE(password, 2));
}

bool PrintReport(Driver& d, Byte code, std::uint16_t password,
                 const DriverError& refused = texts::kBadReportPassword) {
  if (password == kPasswordRefused) return d.Refuse(refused);
  return d.Execute(Report(code, password));
}

// A client's date as the printer's three BCD fields; the year keeps its last two digits.
std::optional<BcdDate> PrinterDate(double date) {
  const auto t = FromOleDate(date);
  if (!t) return std::nullopt;
  return BcdDate{BcdByte(static_cast<unsigned>(t->day())), BcdByte(static_cast<unsigned>(t->month())),
                 BcdByte(static_cast<unsigned>(t->year() % 100))};
}

bool PeriodicReport(Driver& d, Byte code, std::uint16_t password, double first, double last) {
  if (password == kPasswordRefused) return d.Refuse(texts::kBadReportPassword);
  const auto from = PrinterDate(first), to = PrinterDate(last);
  if (!from || !to) return d.Refuse(texts::kDateConversion);
  return d.Execute(Report(code, password).Date(*from).Date(*to));
}

// The last Z report's date; 1 January 2003 while there has been none. nullopt (with code 30 for
// a date that does not exist) when it cannot be read.
std::optional<std::chrono::year_month_day> ReadLastZDate(Driver& d) {
  const auto bytes = ReadMemoryJudged(d, kLastZDateAddress, kRegisterPage, 3);
  if (!bytes) return std::nullopt;
  AnswerReader r(*bytes);
  const BcdDate bcd = r.Date();
  if (bcd == BcdDate{}) return std::chrono::year{2003} / 1 / 1;
  const auto date = DateFromBcd(bcd);
  if (!date) d.Reject(texts::kDateConversion);
  return date;
}

void PrefixText(Driver& d, const Message& prefix) {
  if (auto picked = Pick(prefix, d.lang())) d.call().ErrorText = *picked + d.call().ErrorText;
}

}  // namespace

bool FPArtReport(Driver& d, std::uint16_t Password_Report) {
  return PrintReport(d, kArtReport, Password_Report, texts::kBadReportPasswordArt);
}

bool FPDayReport(Driver& d, std::uint16_t Password_Report) {
  return PrintReport(d, kXReport, Password_Report);
}

bool FPXArtReport(Driver& d, std::uint16_t Password_Report) {
  return PrintReport(d, kXArtReport, Password_Report);
}

bool FPDayClrReport(Driver& d, std::uint16_t Password_Report) {
  if (!d.traits().has_active_port) return PrintReport(d, kZReport, Password_Report);
  d.call().ErrorText.clear();
  if (Password_Report == kPasswordRefused) return d.Refuse(texts::kBadReportPassword);
  d.held().reports.PendingReportPassword = Password_Report;
  const bool ran = RunLongJob(d, kWaitZReport, texts::kWaitZReport, [&d] {
    d.Execute(Report(kZReport, d.held().reports.PendingReportPassword));
  });
  if (!ran || d.call().ReportedResult != 0) return false;
  if (!d.held().memory_card.AutoSaveReportFromMMC) return true;
  if (CopyLastZReportFromCard(d)) return true;
  // The day is closed whatever the copy did: say so, so that nobody prints the Z report again.
  PrefixText(d, texts::kDayClosedCopyFailed);
  return false;
}

bool FPXArtReportExt(Driver& d, std::uint16_t Password_Report, std::uint64_t FirstArtNumber,
                     std::uint64_t LastArtNumber) {
  if (Password_Report == kPasswordRefused) return d.Refuse(texts::kBadReportPassword);
  if (FirstArtNumber == 0 && LastArtNumber == 0) return d.Execute(Report(kXArtReport, Password_Report));
  // Cut to six bytes they would name other articles; negative ones are above 2^63 here.
  if (FirstArtNumber >> kArticleBits != 0 || LastArtNumber >> kArticleBits != 0) {
    return d.Refuse(texts::kIncorrectItemCode);
  }
  const auto [low, high] = std::minmax(FirstArtNumber, LastArtNumber);
  return d.Execute(Report(kXArtReport, Password_Report).UIntLE(low, 6).UIntLE(high, 6));
}

bool FPXArtReportExtEx(Driver& d, std::uint16_t Password_Report, const AnsiString& FirstArtNumberStr,
                       const AnsiString& LastArtNumberStr) {
  const bool cp866 = d.module().settings.CP866;
  const auto first = ParseInt64(ClientTextIn(FirstArtNumberStr, cp866));
  const auto last = ParseInt64(ClientTextIn(LastArtNumberStr, cp866));
  if (!first || !last) return d.Refuse(texts::kIncorrectItemCode);
  return FPXArtReportExt(d, Password_Report, static_cast<std::uint64_t>(*first),
                         static_cast<std::uint64_t>(*last));
}

bool FPPeriodicReport(Driver& d, std::uint16_t Password_Report, double FirstDay, double LastDay) {
  return PeriodicReport(d, kPeriodicReport, Password_Report, FirstDay, LastDay);
}

bool FPPeriodicReportShort(Driver& d, std::uint16_t Password_Report, double FirstDay, double LastDay) {
  return PeriodicReport(d, kPeriodicReportShort, Password_Report, FirstDay, LastDay);
}

bool FPPeriodicNumberReport(Driver& d, std::uint16_t Password_Report, std::uint16_t FirstNumber,
                            std::uint16_t LastNumber) {
  if (Password_Report == kPasswordRefused) return d.Refuse(texts::kBadReportPassword);
  if (LastNumber < FirstNumber) return d.Refuse(texts::kReportNumbersReversed);
  return d.Execute(Report(kPeriodicNumberReport, Password_Report).UIntLE(FirstNumber, 2).UIntLE(LastNumber, 2));
}

std::optional<std::uint16_t> ReadLastZNumber(Driver& d) {
  const auto bytes = ReadMemoryJudged(d, kNextZAddress, kRegisterPage, 2);
  if (!bytes) return std::nullopt;
  const auto next = static_cast<std::uint16_t>((*bytes)[0] | (*bytes)[1] << 8);
  const auto last = static_cast<std::uint16_t>(next - 1);
  return last == 0 ? std::uint16_t{1} : last;
}

AnsiString GetNumZReport(Driver& d) {
  const auto n = ReadLastZNumber(d);
  if (!n) return {};
  return ClientTextOut(std::to_string(*n), d.module().settings.CP866);
}

std::int32_t GetNumZReportExt(Driver& d) {
  return ReadLastZNumber(d).value_or(0);
}

AnsiString GetLastDateZReport(Driver& d) {
  const auto date = ReadLastZDate(d);
  if (!date) return {};
  return ClientTextOut(FormatShortDate(*date, d.module().env.locale), d.module().settings.CP866);
}

double GetLastDateZReportExt(Driver& d) {
  const auto date = ReadLastZDate(d);
  if (!date) return 0;
  return ToOleDate(DateTime{*date}).value_or(0);
}

}  // namespace zorfp
