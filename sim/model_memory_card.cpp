// The memory card of 05-02 and 05-03: the reports of a day (0x3F), a stored report's place
// (0x37), blocks of its sectors (0x38) and a reprint of a stored report (0x33).
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/result_codes.h"
#include "sim/tape_format.h"

namespace zorfp::sim {
namespace {

using enum Variant;

std::size_t SectorsFor(std::size_t records) {
  const std::size_t bytes = records * kCardRecordSize;
  return bytes == 0 ? 1 : (bytes + kCardSectorData - 1) / kCardSectorData;
}

Refusal CardRefusal(const PrinterModel& m) {
  if (!m.card.present) return kCardMissing;
  if (m.card.failing) return kCardFailure;
  return std::nullopt;
}

const CardReport* FindReport(const PrinterModel& m, std::uint32_t number) {
  for (const CardReport& r : m.card.reports) {
    if (r.number == number) return &r;
  }
  return nullptr;
}

Reply HandleFindReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const auto number = f.UInt(2);
  if (!f.Complete()) return RefuseBadParameter(m);
  if (const Refusal refusal = CardRefusal(m)) return Reply::Refuse(*refusal);
  const CardReport* report = FindReport(m, static_cast<std::uint32_t>(number));
  if (!report) return Reply::Refuse(kCardReportNotFound);
  Bytes out;
  AppendUInt(out, report->first_sector, 3);
  out.push_back(0);
  AppendUInt(out, SectorsFor(report->records), 2);  // the sectors it takes; hosts do not use it
  AppendUInt(out, report->records, 2);
  return Reply::Ok(std::move(out));
}

Reply HandleReadBlock(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const auto sector = static_cast<std::uint32_t>(f.UInt(4));
  const auto position = static_cast<std::size_t>(f.UInt(2));
  const auto count = static_cast<std::size_t>(f.Byte1());
  if (!f.Complete() || count == 0 || count > 128 || position + count > kCardSectorSize) return RefuseBadParameter(m);
  if (const Refusal refusal = CardRefusal(m)) return Reply::Refuse(*refusal);
  if (sector >= m.card.sector_count) return Reply::Refuse(kCardFailure);
  Bytes out(count, 0xFF);  // an unwritten sector reads as erased flash
  const auto it = m.card.sectors.find(sector);
  if (it != m.card.sectors.end()) out.assign(it->second.begin() + position, it->second.begin() + position + count);
  return Reply::Ok(std::move(out));
}

Reply HandleFindDayReports(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const auto bcd = [](Byte b) { return (b >> 4) * 10 + (b & 15); };
  const DayDate date{2000 + bcd(r.params.size() > 2 ? r.params[2] : 0), bcd(r.params.size() > 1 ? r.params[1] : 0),
                     bcd(r.params.empty() ? 0 : r.params[0])};
  f.Take(3);
  if (!f.Complete()) return RefuseBadParameter(m);
  if (const Refusal refusal = CardRefusal(m)) return Reply::Refuse(*refusal);
  const CardReport* first = nullptr;
  const CardReport* last = nullptr;
  for (const CardReport& report : m.card.reports) {
    if (!(report.date == date)) continue;
    if (!first) first = &report;
    last = &report;
  }
  if (!first) return Reply::Refuse(kCardReportNotFound);
  Bytes out;
  AppendUInt(out, first->number, 2);
  AppendUInt(out, last->number, 2);
  return Reply::Ok(std::move(out));
}

// Reprint: password, report number (0 with the receipt field 00 00: the day still open), the
// receipt field twice (FF FF every receipt; a receipt number, bit 15 for a refund receipt).
Reply HandlePrintFromCard(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const auto password = f.UInt(2);
  const auto number = f.UInt(2);
  const auto receipt = f.UInt(2);
  const auto again = f.UInt(2);
  if (!f.Complete() || receipt != again) return RefuseBadParameter(m);
  if (password != m.programming.settings.passwords[kReportsPassword]) return Reply::Refuse(result::kBadPassword);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  if (const Refusal paper = PaperRefusal(m)) return Reply::Refuse(*paper);
  if (const Refusal refusal = CardRefusal(m)) return Reply::Refuse(*refusal);
  const bool open_day = number == 0 && receipt == 0;
  const CardReport* report = open_day ? nullptr : FindReport(m, static_cast<std::uint32_t>(number));
  if (!open_day && !report) return Reply::Refuse(kCardReportNotFound);
  Print(m, Centered(Utf8ToCp866("КОПIЯ З КАРТКИ ПАМ'ЯТI")));
  if (open_day) {
    Print(m, Utf8ToCp866("ПОТОЧНИЙ ДЕНЬ"));
  } else {
    Print(m, Utf8ToCp866("Z-ЗВIТ N " + std::to_string(report->number)));
    if (receipt == 0xFFFF) {
      Print(m, Utf8ToCp866("ВСI ЧЕКИ"));
    } else {
      Print(m, Utf8ToCp866(std::string((receipt & 0x8000) != 0 ? "ЧЕК ПОВЕРНЕННЯ N " : "ЧЕК N ") +
                           std::to_string(receipt & 0x7FFF)));
    }
  }
  Print(m, Rule());
  Print(m, "");
  return Reply::Ok();
}

constexpr VariantSet kCardVariants{k0502, k0503};

constexpr CommandEntry kMemoryCardCommands[] = {
    {0x33, "print from the memory card", kCardVariants, Effect::kChangesState, &HandlePrintFromCard},
    {0x37, "find a report on the memory card", kCardVariants, Effect::kQuery, &HandleFindReport},
    {0x38, "read a memory card block", kCardVariants, Effect::kQuery, &HandleReadBlock},
    {0x3F, "find the reports of a day", kCardVariants, Effect::kQuery, &HandleFindDayReports},
};

}  // namespace

std::span<const CommandEntry> MemoryCardCommands() {
  return kMemoryCardCommands;
}

Bytes ZReportRecords(const FiscalDayRecord& r) {
  Bytes out;
  const auto pad = [&out](std::size_t record_start) { out.resize(record_start + kCardRecordSize, 0); };
  out.push_back(0x01);
  AppendUInt(out, r.number, 2);
  out.push_back(BcdByte(r.date.day));
  out.push_back(BcdByte(r.date.month));
  out.push_back(BcdByte(r.date.year % 100));
  AppendUInt(out, r.sale_receipts, 2);
  AppendUInt(out, r.refund_receipts, 2);
  pad(0);
  for (int half = 0; half < 2; ++half) {
    const auto& groups = half == 0 ? r.sale_turnover : r.refund_turnover;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const std::size_t start = out.size();
      out.push_back(static_cast<Byte>(0x02 + half));
      out.push_back(static_cast<Byte>(g));
      AppendMoney40(out, groups[g]);
      pad(start);
    }
  }
  return out;
}

bool CardHasRoom(const PrinterModel& m, std::size_t records) {
  return m.card.next_free_sector + SectorsFor(records) <= m.card.sector_count;
}

bool StoreCardReport(PrinterModel& m, std::uint16_t number, const DayDate& date, std::span<const Byte> records) {
  const std::size_t count = records.size() / kCardRecordSize;
  if (!CardHasRoom(m, count)) return false;
  CardReport report{number, date, m.card.next_free_sector, static_cast<std::uint16_t>(count)};
  const std::size_t sectors = SectorsFor(count);
  for (std::size_t s = 0; s < sectors; ++s) {
    std::array<Byte, kCardSectorSize> sector{};
    sector.fill(0xFF);
    // The sector's own head: report number, index within the report, "ZR", two zeros.
    sector[0] = static_cast<Byte>(number & 0xFF);
    sector[1] = static_cast<Byte>(number >> 8);
    sector[2] = static_cast<Byte>(s & 0xFF);
    sector[3] = static_cast<Byte>(s >> 8);
    sector[4] = 'Z', sector[5] = 'R', sector[6] = 0, sector[7] = 0;
    const std::size_t from = s * kCardSectorData;
    const std::size_t n = std::min(kCardSectorData, records.size() - std::min(records.size(), from));
    std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(from), n, sector.begin() + kCardSectorHeader);
    m.card.sectors[report.first_sector + static_cast<std::uint32_t>(s)] = sector;
  }
  m.card.next_free_sector += static_cast<std::uint32_t>(sectors);
  m.card.reports.push_back(report);
  return true;
}

void FillCard(PrinterModel& m) {
  m.card.next_free_sector = m.card.sector_count;
}

Bytes CardReportBytes(const PrinterModel& m, const CardReport& r) {
  Bytes out;
  const std::size_t total = r.records * kCardRecordSize;
  for (std::uint32_t s = r.first_sector; out.size() < total; ++s) {
    const auto it = m.card.sectors.find(s);
    const std::size_t n = std::min(kCardSectorData, total - out.size());
    if (it == m.card.sectors.end()) {
      out.insert(out.end(), n, 0xFF);
    } else {
      out.insert(out.end(), it->second.begin() + kCardSectorHeader, it->second.begin() + kCardSectorHeader + n);
    }
  }
  return out;
}

void WriteCardJson(const PrinterModel& m, Json& j) {
  if (m.variant != k0502 && m.variant != k0503) return;
  Json reports = Json::array();
  for (const CardReport& r : m.card.reports) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", r.date.day, r.date.month, r.date.year);
    reports.push_back({{"number", r.number}, {"date", date}, {"first_sector", r.first_sector}, {"records", r.records}});
  }
  j["memory_card"] = {
      {"present", m.card.present},
      {"failing", m.card.failing},
      {"sector_count", m.card.sector_count},
      {"next_free_sector", m.card.next_free_sector},
      {"reports", std::move(reports)},
  };
}

}  // namespace zorfp::sim
