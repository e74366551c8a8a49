#include "commands/journal.h"

#include <stdexcept>
#include <string>

#include "commands/wire.h"
#include "dates/date_time.h"
#include "dates/locale_formats.h"
#include "errors/encodings.h"
#include "errors/texts_reports.h"

namespace zorfp {
namespace {

constexpr Byte kMemoryRead = 0x1C;
constexpr Byte kFiscalDayRequest = 0x36;
constexpr Byte kLockReport = 0x4A;
constexpr Byte kCapacityRequest = 0x41;
constexpr Byte kJournalState = 0x42;      // 05-03
constexpr Byte kJournalStateEp06 = 0x33;  // EP-06
constexpr Byte kRegisterPage = 0x10;
constexpr std::uint16_t kPasswordRefused = 0xFFFF;
constexpr std::size_t kFiscalDayLength = 69;

Command MemoryRead(std::uint16_t address, Byte page, Byte length) {
  return std::move(Command(kMemoryRead).UIntLE(address, 2).U8(page).U8(length));
}

// Ends the call with an automation error, as a date the platform cannot convert always has.
[[noreturn]] void DateNotConverted() {
  throw std::runtime_error(texts::kDateConversion.text.en);
}

struct Ep06Journal {
  std::uint32_t first = 0, last = 0, free = 0;
};

std::optional<Ep06Journal> ReadEp06Journal(Driver& d) {
  return Query<Ep06Journal>(d, Command(kJournalStateEp06), [](AnswerReader& r, Ep06Journal& j) {
    j.first = static_cast<std::uint32_t>(r.UIntLE(4));
    j.last = static_cast<std::uint32_t>(r.UIntLE(4));
    j.free = static_cast<std::uint32_t>(r.UIntLE(2));
  });
}

bool IsEp06(const Driver& d) {
  return d.traits().id == VariantId::kEP_06;
}

// A little-endian number at one of the journal's locations; 0 when it cannot be read.
std::uint32_t LocationValue(Driver& d, std::uint16_t address, Byte length) {
  const auto bytes = ReadMemory(d, address, kRegisterPage, length);
  if (!bytes) return 0;
  std::uint32_t v = 0;
  for (std::size_t i = bytes->size(); i-- > 0;) v = v << 8 | (*bytes)[i];
  return v;
}

}  // namespace

std::optional<Bytes> ReadMemory(Driver& d, std::uint16_t address, Byte page, Byte length) {
  const Command command = MemoryRead(address, page, length);
  if (length == 0) {
    if (ExchangeJudged(d, command, Judge::kUnjudged)) d.Reject(texts::kZeroLengthBlock);
    return std::nullopt;
  }
  // Exactly the bytes asked for: more is as much a misfit as fewer.
  return Query<Bytes>(
      d, command,
      [length](AnswerReader& r, Bytes& bytes) {
        const std::span<const Byte> taken = r.Take(length);
        bytes.assign(taken.begin(), taken.end());
      },
      {.judge = Judge::kUnjudged});
}

std::optional<Bytes> ReadMemoryJudged(Driver& d, std::uint16_t address, Byte page, Byte length) {
  return Query<Bytes>(
      d, MemoryRead(address, page, length),
      [length](AnswerReader& r, Bytes& out) {
        const auto bytes = r.Take(length);
        out.assign(bytes.begin(), bytes.end());
      },
      {.more_allowed = true});
}

AnsiString FPGetMemoryData(Driver& d, std::uint16_t Address, Byte Page, Byte LengthData) {
  const auto bytes = ReadMemory(d, Address, Page, LengthData);
  if (!bytes) return {};
  AnsiString dump;
  for (Byte b : *bytes) dump += std::to_string(b) + ';';
  return ClientTextOut(dump, d.module().settings.CP866);
}

FiscalDayRecord& HeldFiscalDay(Driver& d) {
  return d.held().journal.fm_day;
}

bool FPGetFMDay(Driver& d, std::uint16_t ReportNum) {
  FiscalDayRecord& held = HeldFiscalDay(d);
  held.Date = 0;
  struct Read {
    BcdDate date;
    FiscalDayRecord record;
  };
  const auto read = Query<Read>(
      d, Command(kFiscalDayRequest).UIntLE(ReportNum, 2),
      [](AnswerReader& r, Read& out) {
        r.Skip(2);
        out.date = r.Date();
        out.record.SaleReceipts = static_cast<std::int32_t>(r.UIntLE(2));
        out.record.RefundReceipts = static_cast<std::int32_t>(r.UIntLE(2));
        for (std::int32_t& t : out.record.SaleTurnover) t = r.Money40().Low32();
        for (std::int32_t& t : out.record.RefundTurnover) t = r.Money40().Low32();
      },
      {.empty_is_no_data = false});
  if (!read) return false;
  // A record without a date has never been written: it reads as "no report yet".
  std::optional<std::chrono::year_month_day> date;
  if (read->date == BcdDate{}) {
    date = std::chrono::year{2003} / 1 / 1;
  } else {
    date = DateFromBcd(read->date);
  }
  const auto ole = date ? ToOleDate(DateTime{*date}) : std::nullopt;
  if (!ole) DateNotConverted();
  held = read->record;
  held.Date = *ole;
  return true;
}

AnsiString GetRepDateEx(Driver& d, const FiscalDayRecord& r) {
  const auto t = FromOleDate(r.Date);
  if (!t) return {};
  return ClientTextOut(FormatShortDate(t->date, d.module().env.locale), d.module().settings.CP866);
}

bool FPPrintLockReport(Driver& d, std::uint16_t Password_Report) {
  if (Password_Report == kPasswordRefused) return d.Refuse(texts::kBadReportPassword);
  return d.Execute(Command(kLockReport).UIntLE(Password_Report, 2));
}

// The status bits (the journal's 72-hour warning among them) are reported but do not fail the
// update; a refusal or an answer short of its three values does.
bool FPUpdateStatusKLEF(Driver& d) {
  if (!ExchangeJudged(d, Command(kJournalState), Judge::kReportOnly)) return false;
  if (d.call().AnswerResult != 0) return false;
  AnswerReader r(d.Answer());
  JournalState s;
  s.FirstPID = static_cast<std::int32_t>(r.UIntLE(4));
  s.LastPID = static_cast<std::int32_t>(r.UIntLE(4));
  s.FreeBytes = static_cast<std::int32_t>(r.UIntLE(4));
  if (!r.Finish(d, {.more_allowed = true})) return false;
  d.held().journal.klef = s;
  return true;
}

std::int32_t GetKLEFFirstPID(Driver& d) {
  if (!IsEp06(d)) return d.held().journal.klef.FirstPID;
  const auto j = ReadEp06Journal(d);
  return j ? static_cast<std::int32_t>(j->first) : 0;
}

std::int32_t GetKLEFLastPID(Driver& d) {
  if (!IsEp06(d)) return d.held().journal.klef.LastPID;
  const auto j = ReadEp06Journal(d);
  return j ? static_cast<std::int32_t>(j->last) : 0;
}

// An empty journal has all its room: EP-06 counts it in 16 bits, 05-03 in 31.
std::int32_t GetKLEFFreeBytes(Driver& d) {
  if (!IsEp06(d)) {
    const JournalState& s = d.held().journal.klef;
    return s.FirstPID == 0 && s.LastPID == 0 ? 2147483647 : s.FreeBytes;
  }
  const auto j = ReadEp06Journal(d);
  if (!j) return 0;
  return j->first == 0 && j->last == 0 ? 65535 : static_cast<std::int32_t>(j->free);
}

std::int32_t GetKLEFBeginAdr(Driver& d) {
  return static_cast<std::int32_t>(LocationValue(d, 0x0039, 2));
}

std::int32_t GetKLEFEndAdr(Driver& d) {
  return static_cast<std::int32_t>(LocationValue(d, 0x003C, 2));
}

std::int32_t GetKLEFDirectLastPID(Driver& d) {
  return static_cast<std::int32_t>(LocationValue(d, 0x003F, 4));
}

bool GetKLEFPersonalization(Driver& d) {
  return LocationValue(d, 0x0043, 1) == 1;
}

AnsiString GetKLEFBlockingDateTime(Driver& d) {
  const LocaleFormats& locale = d.module().env.locale;
  std::chrono::year_month_day date = std::chrono::year{2003} / 1 / 1;
  std::chrono::milliseconds time{0};
  if (const auto bytes = ReadMemory(d, 0x0044, kRegisterPage, 5)) {
    AnswerReader r(*bytes);
    const BcdDate bcd = r.Date();
    const unsigned hours = r.Bcd(), minutes = r.Bcd();
    if (!(bcd == BcdDate{})) {
      const auto read = DateFromBcd(bcd);
      if (!read) DateNotConverted();
      date = *read;
    }
    if (hours > 23 || minutes > 59) DateNotConverted();
    time = std::chrono::hours(hours) + std::chrono::minutes(minutes);
  }
  // Date and time as the platform writes them: the time left out at midnight.
  std::string text = FormatShortDate(date, locale);
  if (time.count() != 0) {
    text += ' ';
    text += FormatLongTime(time, locale);
  }
  return ClientTextOut(text, d.module().settings.CP866);
}

std::optional<Capacity> ReadCapacity(Driver& d) {
  d.call().ErrorText.clear();
  return Query<Capacity>(d, Command(kCapacityRequest), [](AnswerReader& r, Capacity& c) {
    c.MaxItems = static_cast<std::int32_t>(r.UIntLE(4));
    c.MaxRecords = static_cast<std::int32_t>(r.UIntLE(4));
    c.RecordsUsed = static_cast<std::int32_t>(r.UIntLE(4));
  });
}

}  // namespace zorfp
