#include "sim/model.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "sim/cp866.h"
#include "sim/model_commands.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

struct FactoryIdentity {
  const char* serial;
  const char* fiscal;
  Bytes version;
};

// Version tags: the newer variants are recognised by the letters ЕП (0x85 0x8F) or by their own tag.
FactoryIdentity FactoryDefaults(Variant v) {
  switch (v) {
    case Variant::kEp01:
      return {"ZR01000017", "3101000017", {0x85, 0x8F, '-', '0', '1'}};
    case Variant::k0801:
      return {"ZR08000024", "3108000024", {}};
    case Variant::kEp02:
      return {"ZR02000031", "3102000031", {0x85, 0x8F, '-', '0', '2'}};
    case Variant::kEp05:
      return {"ZR05000048", "3105000048", {0x85, 0x8F, '-', '0', '5'}};
    case Variant::kEp06:
      return {"ZR06000055", "3106000055", {0x85, 0x8F, '-', '0', '6'}};
    case Variant::k0502:
      return {"ZR52000062", "3152000062", {'0', '5', '-', '0', '2'}};
    case Variant::k0503:
      return {"ZR53000079", "3153000079", {'0', '5', '-', '0', '3'}};
  }
  return {};
}

constexpr Byte Bit(bool set, int bit) {
  return set ? static_cast<Byte>(1u << bit) : 0;
}

Byte Bcd(int value) {
  return static_cast<Byte>((value / 10 % 10) << 4 | value % 10);
}

// Exactly `width` bytes: cut, or padded with blanks.
void AppendField(Bytes& out, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? static_cast<Byte>(text[i]) : ' ');
}

}  // namespace

bool DayTooLong(const PrinterModel& m) {
  using namespace std::chrono_literals;
  return m.mode.day_open && m.day_opened_at && m.clock.Now() - *m.day_opened_at > 24h;
}

CivilTime ToCivil(DeviceClock::TimePoint t) {
  const std::time_t secs = std::chrono::system_clock::to_time_t(t);
  std::tm tm{};
  localtime_r(&secs, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatCivil(const CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return buf;
}

CivilTime DeviceClock::NowCivil() const {
  return ToCivil(Now());
}

void DeviceClock::Set(const CivilTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  const auto target = std::chrono::system_clock::from_time_t(std::mktime(&tm));
  // Rounded up, so that the clock reads `t` at once and not a second before it.
  offset_ = std::chrono::ceil<std::chrono::seconds>(target - std::chrono::system_clock::now());
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

PrinterModel::PrinterModel(Variant v) : variant(v) {
  FactoryIdentity f = FactoryDefaults(v);
  identity.serial_number = f.serial;
  identity.model_name = " " + std::string(Tag(v));
  identity.fiscal_number = f.fiscal;
  identity.version_tag = std::move(f.version);
  fiscalization = {true, {2024, 1, 15, 9, 30, 0}};
  header[0].text = Utf8ToCp866("ООО \"ЗОРЯ\"");
  header[1].text = Utf8ToCp866("г. Киев, ул. Крещатик, 1");
  header[2].text = Utf8ToCp866("Магазин N 7");
  header[3].text = Utf8ToCp866("ПН 123456789012");
}

Execution Execute(PrinterModel& m, std::span<const Byte> command) {
  Execution e;
  Reply reply = Reply::Refuse(result::kCommandForbidden);
  if (!command.empty()) {
    e.entry = FindCommand(m.variant, command.front());
    if (e.entry) reply = e.entry->handler(m, Request{command.front(), command.subspan(1)});
  }
  if (!e.entry || e.entry->effect == Effect::kChangesState)
    m.last_command_failed = reply.result != result::kOk;
  e.answer.status = StatusByte(m);
  e.answer.result = reply.result;
  e.answer.reserve = ReserveByte(m);
  e.answer.data = std::move(reply.data);
  return e;
}

Byte StatusByte(const PrinterModel& m) {
  const VariantTraits& t = m.traits();
  const DeviceConditions& c = m.conditions;
  // Where bit 1 speaks of the electronic journal, paper out shows as "not ready".
  const bool not_ready = c.not_ready || (!t.status_bit1_is_paper && m.paper.receipt_out);
  const bool bit1 = t.status_bit1_is_paper ? m.paper.receipt_out : c.journal_over_72h;
  return Bit(not_ready, 0) | Bit(bit1, 1) | Bit(c.fiscal_memory_full, 2) | Bit(c.clock_failure, 3) |
         Bit(c.display_failure, 4) | Bit(DayTooLong(m), 5) | Bit(c.low_voltage, 6) |
         Bit(c.operation_denied, 7);
}

Byte ReserveByte(const PrinterModel& m) {
  const VariantTraits& t = m.traits();
  return Bit(m.mode.service_report_open, 0) | Bit(m.conditions.finish_after_error, 1) |
         Bit(t.reserve_has_paper_notice && m.paper.receipt_out, 2) |
         Bit(t.has_personalization && !m.conditions.personalized, 7);
}

Byte ModeFlagsA(const PrinterModel& m) {
  const ModeFlags& f = m.mode;
  return Bit(f.payment_begun, 1) | Bit(f.cash_drawer, 2) | Bit(f.refund_receipt, 3) | Bit(f.taxes_added, 4) |
         Bit(f.day_open, 5) | Bit(f.receipt_open, 6) |
         Bit(m.traits().has_display_switch && f.customer_display, 7);
}

Byte ModeFlagsB(const PrinterModel& m) {
  const ModeFlags& f = m.mode;
  const VariantTraits& t = m.traits();
  return Bit(t.has_receipt_only_flag && !f.service_report_only_receipt, 0) | Bit(f.taxes_changed, 1) |
         Bit(f.service_report_open, 3) | Bit(m.fiscalization.done, 4) | Bit(m.last_command_failed, 5) |
         Bit(t.has_online_print_switch && f.online_print, 6);
}

Bytes StatusBlock(const PrinterModel& m) {
  const VariantTraits& t = m.traits();
  Bytes d = {ModeFlagsA(m), ModeFlagsB(m)};
  AppendField(d, m.identity.serial_number, 10);
  AppendField(d, m.identity.model_name, 9);
  if (m.fiscalization.done) {
    const CivilTime& at = m.fiscalization.at;
    for (int v : {at.day, at.month, at.year % 100, at.hour, at.minute}) d.push_back(Bcd(v));
  } else {
    d.insert(d.end(), 5, 0);
  }
  AppendField(d, m.identity.fiscal_number, 10);
  for (const HeaderLine& line : m.header) {
    // The newer variants read six bits of length and keep the print attributes in the top two.
    const std::size_t max_length = t.newer_family ? 63 : 255;
    const std::size_t length = std::min(line.text.size(), max_length);
    Byte length_byte = static_cast<Byte>(length);
    if (t.newer_family) length_byte |= Bit(line.double_width, 6) | Bit(line.double_height, 7);
    d.push_back(length_byte);
    d.insert(d.end(), line.text.begin(), line.text.begin() + static_cast<std::ptrdiff_t>(length));
  }
  if (t.has_version_tag) {
    AppendField(d,
                std::string_view(reinterpret_cast<const char*>(m.identity.version_tag.data()),
                                 m.identity.version_tag.size()),
                5);
  }
  return d;
}

Byte PrinterStateByte(const PrinterModel& m) {
  const bool journal = m.traits().has_journal_paper;
  const PaperState& p = m.paper;
  return Bit(p.connection_error, 0) | Bit(journal && p.journal_low, 2) | Bit(p.receipt_low, 3) |
         Bit(journal && p.journal_out, 5) | Bit(p.receipt_out, 6);
}

void ProjectRegisters(PrinterModel& m) {
  // Cutter: bit 3 set means switched off.
  const Byte cutter = m.cutter_enabled ? 0x00 : 0x08;
  m.memory.Write(0x10, 0x301A, std::span(&cutter, 1));
  ProjectDayRegisters(m);
}

void Print(PrinterModel& m, std::string_view cp866_line) {
  if (m.tape) m.tape(cp866_line);
}

}  // namespace zorfp::sim
