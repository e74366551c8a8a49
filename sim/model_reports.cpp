// The printed reports: X and Z reports of the day, article reports, periodic reports over the
// fiscal memory; the Z report closes the day into the fiscal memory, the journal and the memory
// card. Also the registers the host reads by address about the last Z report.
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/receipt_flow.h"
#include "sim/result_codes.h"
#include "sim/tape_format.h"

namespace zorfp::sim {
namespace {

using enum Variant;

// "I" stands in for the Ukrainian letter code page 866 lacks.
void PrintText(PrinterModel& m, std::string_view utf8) {
  Print(m, Utf8ToCp866(utf8));
}

void PrintColumns(PrinterModel& m, std::string_view left_utf8, const std::string& right) {
  for (const Cp866Text& line : Columns(Utf8ToCp866(left_utf8), right)) Print(m, line);
}

const char* const kGroupLetters[] = {"А", "Б", "В", "Г", "Д", "Е"};

std::string DateText(const DayDate& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d.day, d.month, d.year);
  return buf;
}

DayDate Today(const PrinterModel& m) {
  const CivilTime t = m.clock.NowCivil();
  return {t.year, t.month, t.day};
}

// What every printed report checks first: its password, no receipt open, paper.
Refusal ReportRefusal(const PrinterModel& m, FieldReader& f) {
  const auto password = static_cast<std::uint16_t>(f.UInt(2));
  if (password != m.programming.settings.passwords[kReportsPassword]) return result::kBadPassword;
  if (m.receipt.open()) return result::kReceiptOpen;
  return PaperRefusal(m);
}

// A BCD date field; nullopt when it is no day.
std::optional<DayDate> ReadDate(FieldReader& f) {
  const auto digit = [](Byte b) -> int { return (b >> 4) > 9 || (b & 15) > 9 ? -1 : (b >> 4) * 10 + (b & 15); };
  const int day = digit(f.Byte1()), month = digit(f.Byte1()), year = digit(f.Byte1());
  if (day < 1 || month < 1 || month > 12 || year < 0) return std::nullopt;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int full_year = 2000 + year;
  const bool leap = full_year % 4 == 0;
  if (day > kDays[month - 1] || (month == 2 && day == 29 && !leap)) return std::nullopt;
  return DayDate{full_year, month, day};
}

void PrintDayTotals(PrinterModel& m) {
  const DayRegisters& d = m.day;
  PrintColumns(m, "ЧЕКIВ ПРОДАЖУ", std::to_string(d.sales.receipts));
  for (int g = 0; g < 6; ++g) {
    if (d.sales.turnover_by_group[static_cast<std::size_t>(g)] != 0) {
      PrintColumns(m, std::string("ОБIГ ") + kGroupLetters[g], MoneyText(d.sales.turnover_by_group[static_cast<std::size_t>(g)]));
    }
  }
  PrintColumns(m, "ЧЕКIВ ПОВЕРНЕННЯ", std::to_string(d.refunds.receipts));
  for (int g = 0; g < 6; ++g) {
    if (d.refunds.turnover_by_group[static_cast<std::size_t>(g)] != 0) {
      PrintColumns(m, std::string("ПОВЕРНЕННЯ ") + kGroupLetters[g],
                   MoneyText(d.refunds.turnover_by_group[static_cast<std::size_t>(g)]));
    }
  }
  PrintColumns(m, "ВНЕСЕНО", MoneyText(d.cash_in));
  PrintColumns(m, "ВИДАНО", MoneyText(d.cash_out));
  PrintColumns(m, "ГОТIВКА В СКРИНЬКУ", MoneyText(m.drawer));
}

void PrintReportEnd(PrinterModel& m) {
  Print(m, Rule());
  PrintText(m, DateTimeText(m.clock.NowCivil()));
  Print(m, m.status.identity.serial_number);
  Print(m, "");
}

Reply HandleXReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const Refusal refusal = ReportRefusal(m, f);
  if (!f.Complete()) return RefuseBadParameter(m);
  if (refusal) return Reply::Refuse(*refusal);
  Print(m, Centered(Utf8ToCp866("X-ЗВIТ")));
  PrintDayTotals(m);
  PrintReportEnd(m);
  return Reply::Ok();
}

// The day closed into the fiscal memory, the journal and (05-02, 05-03) the memory card.
Reply HandleZReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const Refusal refusal = ReportRefusal(m, f);
  if (!f.Complete()) return RefuseBadParameter(m);
  if (refusal) return Reply::Refuse(*refusal);
  if (m.status.conditions.fiscal_memory_full) return Reply::Refuse(result::kFiscalMemoryFull);
  FiscalDayRecord record;
  record.number = m.reports.next_z_number;
  record.date = Today(m);
  record.sale_receipts = m.day.sales.receipts;
  record.refund_receipts = m.day.refunds.receipts;
  record.sale_turnover = m.day.sales.turnover_by_group;
  record.refund_turnover = m.day.refunds.turnover_by_group;
  const bool has_card = m.variant == k0502 || m.variant == k0503;
  if (has_card && m.card.present && !CardHasRoom(m, ZReportRecords(record).size() / kCardRecordSize)) {
    return Reply::Refuse(kCardFull);
  }

  Print(m, Centered(Utf8ToCp866("Z-ЗВIТ N " + std::to_string(record.number))));
  PrintDayTotals(m);
  PrintText(m, "ДЕННИЙ ЗВIТ ЗАКРИТО");
  PrintReportEnd(m);

  m.reports.fiscal_memory.push_back(record);
  if (has_card && m.card.present && !m.card.failing) StoreCardReport(m, record.number, record.date, ZReportRecords(record));
  ElectronicJournal& j = m.reports.journal;
  const std::uint32_t records = record.sale_receipts + record.refund_receipts + 1;  // the receipts, then the report
  if (j.first_record == 0) j.first_record = 1;
  j.last_record += records;
  j.direct_last_record = j.last_record;
  j.used_bytes = std::min(j.capacity_bytes, j.used_bytes + records * kJournalRecordBytes);
  j.end_address = static_cast<std::uint16_t>(j.begin_address + j.used_bytes / kJournalRecordBytes);
  m.reports.next_z_number = static_cast<std::uint16_t>(record.number + 1);
  m.reports.last_z = record.date;
  m.day = DayRegisters{};
  m.day_opened_at.reset();
  m.status.mode.day_open = false;
  return Reply::Ok();
}

// Article reports: all articles, or (0x0A) those whose codes fall in a range.
Reply HandleArticleReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const Refusal refusal = ReportRefusal(m, f);
  std::uint64_t low = 0, high = ~std::uint64_t{0};
  if (f.left() == 12 && r.code == 0x0A) {
    low = f.UInt(6);
    high = f.UInt(6);
  }
  if (!f.Complete() || low > high) return RefuseBadParameter(m);
  if (refusal) return Reply::Refuse(*refusal);
  Print(m, Centered(Utf8ToCp866("ЗВIТ ПО ТОВАРАХ")));
  for (const auto& [code, article] : m.programming.articles) {
    if (code < low || code > high) continue;
    for (const Cp866Text& line : Columns(std::to_string(code) + " " + article.name, MoneyText(article.price))) {
      Print(m, line);
    }
  }
  PrintReportEnd(m);
  return Reply::Ok();
}

void PrintFiscalRecords(PrinterModel& m, const char* title, const std::vector<const FiscalDayRecord*>& records,
                        bool full) {
  Print(m, Centered(Utf8ToCp866(title)));
  std::array<std::int64_t, 6> sales{}, refunds{};
  for (const FiscalDayRecord* rec : records) {
    if (full) {
      PrintColumns(m, "Z-ЗВIТ N " + std::to_string(rec->number), DateText(rec->date));
    }
    for (std::size_t g = 0; g < 6; ++g) {
      sales[g] += rec->sale_turnover[g];
      refunds[g] += rec->refund_turnover[g];
    }
  }
  for (std::size_t g = 0; g < 6; ++g) {
    if (sales[g] != 0) PrintColumns(m, std::string("ОБIГ ") + kGroupLetters[g], MoneyText(sales[g]));
    if (refunds[g] != 0) PrintColumns(m, std::string("ПОВЕРНЕННЯ ") + kGroupLetters[g], MoneyText(refunds[g]));
  }
  PrintReportEnd(m);
}

// Periodic reports by dates (0x11 full, 0x1A short): the printer judges the range.
Reply HandlePeriodicReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const Refusal refusal = ReportRefusal(m, f);
  const auto first = ReadDate(f), last = ReadDate(f);
  if (!f.Complete()) return RefuseBadParameter(m);
  if (refusal) return Reply::Refuse(*refusal);
  if (!first || !last) return Reply::Refuse(result::kBadDateTime);
  if (*last < *first) return RefuseBadParameter(m);
  std::vector<const FiscalDayRecord*> in_range;
  for (const FiscalDayRecord& rec : m.reports.fiscal_memory) {
    if (!(rec.date < *first) && !(*last < rec.date)) in_range.push_back(&rec);
  }
  if (in_range.empty()) return Reply::Refuse(result::kNoReceipts);
  PrintFiscalRecords(m, r.code == 0x11 ? "ПЕРIОДИЧНИЙ ЗВIТ" : "СКОРОЧЕНИЙ ПЕРIОДИЧНИЙ ЗВIТ", in_range,
                     r.code == 0x11);
  return Reply::Ok();
}

// Periodic report by Z numbers: every number of the range must have been written.
Reply HandlePeriodicNumberReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const Refusal refusal = ReportRefusal(m, f);
  const auto first = f.UInt(2), last = f.UInt(2);
  if (!f.Complete() || last < first) return RefuseBadParameter(m);
  if (refusal) return Reply::Refuse(*refusal);
  if (first == 0 || last >= m.reports.next_z_number) return Reply::Refuse(result::kBadNumber);
  std::vector<const FiscalDayRecord*> in_range;
  for (const FiscalDayRecord& rec : m.reports.fiscal_memory) {
    if (rec.number >= first && rec.number <= last) in_range.push_back(&rec);
  }
  if (in_range.empty()) return Reply::Refuse(result::kNoReceipts);
  PrintFiscalRecords(m, "ПЕРIОДИЧНИЙ ЗВIТ ЗА НОМЕРАМИ", in_range, true);
  return Reply::Ok();
}

constexpr VariantSet kOlder{kEp01, k0801};

constexpr CommandEntry kReportsCommands[] = {
    {0x07, "article report", kOlder, Effect::kChangesState, &HandleArticleReport},
    {0x09, "X report", VariantSet::All(), Effect::kChangesState, &HandleXReport},
    {0x0A, "article X report", VariantSet::All().Without(k0801), Effect::kChangesState, &HandleArticleReport},
    {0x0D, "Z report", VariantSet::All(), Effect::kChangesState, &HandleZReport},
    {0x11, "periodic report", VariantSet::All(), Effect::kChangesState, &HandlePeriodicReport},
    {0x1A, "short periodic report", VariantSet::All(), Effect::kChangesState, &HandlePeriodicReport},
    {0x1F, "periodic report by numbers", VariantSet::All(), Effect::kChangesState, &HandlePeriodicNumberReport},
};

Json DateJson(const DayDate& d) {
  return DateText(d);
}

Json FiscalMemoryJson(const PrinterModel& m) {
  Json out = Json::array();
  for (const FiscalDayRecord& r : m.reports.fiscal_memory) {
    Json sales = Json::array(), refunds = Json::array();
    for (std::int64_t t : r.sale_turnover) sales.push_back(t);
    for (std::int64_t t : r.refund_turnover) refunds.push_back(t);
    out.push_back({{"number", r.number},
                   {"date", DateJson(r.date)},
                   {"sale_receipts", r.sale_receipts},
                   {"refund_receipts", r.refund_receipts},
                   {"sale_turnover_by_tax", std::move(sales)},
                   {"refund_turnover_by_tax", std::move(refunds)}});
  }
  return out;
}

}  // namespace

std::span<const CommandEntry> ReportsCommands() {
  return kReportsCommands;
}

// The Z report's registers, and EP-06's journal locations.
void ProjectReportRegisters(PrinterModel& m) {
  Bytes next;
  AppendUInt(next, m.reports.next_z_number, 2);
  m.memory.Write(kRegisterPage, 0x0037, next);
  Bytes date(3, 0);
  if (m.reports.last_z) {
    date = {BcdByte(m.reports.last_z->day), BcdByte(m.reports.last_z->month), BcdByte(m.reports.last_z->year % 100)};
  }
  m.memory.Write(kRegisterPage, 0x0169, date);
  if (m.variant != kEp06) return;
  const ElectronicJournal& j = m.reports.journal;
  Bytes loc;
  AppendUInt(loc, j.begin_address, 2);
  m.memory.Write(kRegisterPage, 0x0039, loc);
  loc.clear();
  AppendUInt(loc, j.end_address, 2);
  m.memory.Write(kRegisterPage, 0x003C, loc);
  loc.clear();
  AppendUInt(loc, j.direct_last_record, 4);
  loc.push_back(m.status.conditions.personalized ? 1 : 0);
  m.memory.Write(kRegisterPage, 0x003F, loc);  // 0x003F..0x0043; the blocking date stays zero
}

void WriteReportsJson(const PrinterModel& m, Json& j) {
  const ElectronicJournal& journal = m.reports.journal;
  j["reports"] = {
      {"next_z_number", m.reports.next_z_number},
      {"last_z_date", m.reports.last_z ? DateJson(*m.reports.last_z) : Json(nullptr)},
  };
  j["fiscal_memory"] = FiscalMemoryJson(m);
  j["journal"] = {
      {"first_record", journal.first_record},
      {"last_record", journal.last_record},
      {"used_bytes", journal.used_bytes},
      {"free_bytes", journal.capacity_bytes - journal.used_bytes},
  };
  WriteCardJson(m, j);
}

}  // namespace zorfp::sim
