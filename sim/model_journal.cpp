// The printer's memory as the host reads it by address (0x1C): fiscal memory, journal and the
// registers copied into it.
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/result_codes.h"
#include "sim/tape_format.h"
#include "sim/cp866.h"

namespace zorfp::sim {
namespace {

// Memory read: address (low, high), page, length; answers the bytes read.
Reply HandleMemoryRead(PrinterModel& m, const Request& r) {
  if (r.params.size() != 4) return RefuseBadParameter(m);
  const unsigned address = r.params[0] | r.params[1] << 8;
  const Byte page = r.params[2];
  const std::size_t length = r.params[3];
  const bool known_page = page == 0x00 || page == kRegisterPage;
  if (!known_page || length == 0 || address + length > 0x10000) return RefuseBadParameter(m);
  ProjectRegisters(m);
  return Reply::Ok(m.memory.Read(page, static_cast<std::uint16_t>(address), length));
}

using enum Variant;

// The fiscal-memory record of one Z report: 2 bytes unused, date (3 BCD), sale and refund receipts
// (2 each), sale and refund turnover per group A to F (5 each). 69 bytes.
Reply HandleFiscalDay(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const auto number = f.UInt(2);
  if (!f.Complete()) return RefuseBadParameter(m);
  for (const FiscalDayRecord& rec : m.reports.fiscal_memory) {
    if (rec.number != number) continue;
    Bytes out;
    AppendUInt(out, rec.number, 2);
    out.push_back(BcdByte(rec.date.day));
    out.push_back(BcdByte(rec.date.month));
    out.push_back(BcdByte(rec.date.year % 100));
    AppendUInt(out, rec.sale_receipts, 2);
    AppendUInt(out, rec.refund_receipts, 2);
    for (std::int64_t t : rec.sale_turnover) AppendMoney40(out, t);
    for (std::int64_t t : rec.refund_turnover) AppendMoney40(out, t);
    return Reply::Ok(std::move(out));
  }
  return Reply::Refuse(result::kBadNumber);
}

Reply HandleCapacity(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  Bytes out;
  AppendUInt(out, m.reports.max_items, 4);
  AppendUInt(out, m.reports.max_records, 4);
  AppendUInt(out, m.programming.articles.size(), 4);
  return Reply::Ok(std::move(out));
}

std::uint32_t JournalFree(const ElectronicJournal& j) {
  return j.capacity_bytes - std::min(j.capacity_bytes, j.used_bytes);
}

// 05-03: first and last record, free bytes, four bytes each.
Reply HandleJournalState(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const ElectronicJournal& j = m.reports.journal;
  Bytes out;
  AppendUInt(out, j.first_record, 4);
  AppendUInt(out, j.last_record, 4);
  AppendUInt(out, JournalFree(j), 4);
  return Reply::Ok(std::move(out));
}

// EP-06: the same with the free bytes in two (the most it can say is 65535).
Reply HandleJournalStateEp06(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const ElectronicJournal& j = m.reports.journal;
  Bytes out;
  AppendUInt(out, j.first_record, 4);
  AppendUInt(out, j.last_record, 4);
  AppendUInt(out, std::min<std::uint32_t>(JournalFree(j), 0xFFFF), 2);
  return Reply::Ok(std::move(out));
}

Reply HandleLockReport(PrinterModel& m, const Request& r) {
  FieldReader f(r.params);
  const auto password = f.UInt(2);
  if (!f.Complete()) return RefuseBadParameter(m);
  if (password != m.programming.settings.passwords[kReportsPassword]) return Reply::Refuse(result::kBadPassword);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  if (const Refusal paper = PaperRefusal(m)) return Reply::Refuse(*paper);
  Print(m, Centered(Utf8ToCp866("ЗВIТ ПРО БЛОКУВАННЯ")));
  Print(m, Utf8ToCp866(m.status.conditions.journal_over_72h ? "ДАНI ЖУРНАЛУ СТАРШI 72 ГОД" : "БЛОКУВАНЬ НЕМА"));
  Print(m, Rule());
  Print(m, "");
  return Reply::Ok();
}

constexpr CommandEntry kJournalCommands[] = {
    {0x1C, "memory read", VariantSet::All(), Effect::kQuery, &HandleMemoryRead},
    {0x33, "journal state", VariantSet{kEp06}, Effect::kQuery, &HandleJournalStateEp06},
    {0x36, "fiscal memory day record", VariantSet{k0502, k0503}, Effect::kQuery, &HandleFiscalDay},
    {0x41, "capacity", VariantSet{k0503}, Effect::kQuery, &HandleCapacity},
    {0x42, "journal state", VariantSet{k0503}, Effect::kQuery, &HandleJournalState},
    {0x4A, "lock report", VariantSet{k0503}, Effect::kChangesState, &HandleLockReport},
};

}  // namespace

std::span<const CommandEntry> JournalCommands() {
  return kJournalCommands;
}

Bytes MemoryMap::Read(Byte page, std::uint16_t address, std::size_t length) const {
  Bytes out(length, 0);
  const auto it = pages_.find(page);
  if (it == pages_.end()) return out;
  for (std::size_t i = 0; i < length && address + i < it->second.size(); ++i)
    out[i] = it->second[address + i];
  return out;
}

void MemoryMap::Write(Byte page, std::uint16_t address, std::span<const Byte> bytes) {
  Bytes& memory = pages_[page];
  if (memory.empty()) memory.resize(0x10000, 0);
  for (std::size_t i = 0; i < bytes.size() && address + i < memory.size(); ++i)
    memory[address + i] = bytes[i];
}

void ProjectRegisters(PrinterModel& m) {
  // Cutter: bit 3 set means switched off.
  const Byte cutter = m.printing.cutter_enabled ? 0x00 : 0x08;
  m.memory.Write(kRegisterPage, 0x301A, std::span(&cutter, 1));
  ProjectDayRegisters(m);
  ProjectProgrammingRegisters(m);
  ProjectTaxRegisters(m);
  ProjectReportRegisters(m);
}

}  // namespace zorfp::sim
