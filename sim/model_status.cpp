// Status and identity: the status request (0x00), the printer-state request (0x30), the status and
// reserve bytes every answer carries, and the line rate (0x26).
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"

namespace zorfp::sim {
namespace {

using enum Variant;

constexpr Byte Bit(bool set, int bit) {
  return set ? static_cast<Byte>(1u << bit) : 0;
}

// Exactly `width` bytes: cut, or padded with blanks.
void AppendField(Bytes& out, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? static_cast<Byte>(text[i]) : ' ');
}

Reply HandleStatusRequest(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  return Reply::Ok(StatusBlock(m));
}

// One byte: the speed index in the low bits, plus 0x20 for the USB line where the variant has one.
// The answer still goes out at the old rate; the transport switches after it.
Reply HandleChangeBaudRate(PrinterModel& m, const Request& r) {
  constexpr Byte kUsbBit = 0x20;
  if (r.params.size() != 1) return RefuseBadParameter(m);
  const bool usb = (r.params[0] & kUsbBit) != 0;
  const Byte index = r.params[0] & ~kUsbBit;
  if ((usb && !m.traits().has_usb_line) || index >= kLineRates.size()) return RefuseBadParameter(m);
  m.status.line.baud = kLineRates[index];
  m.status.line.usb = usb;
  return Reply::Ok();
}

Reply HandlePrinterStateRequest(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  return Reply::Ok({PrinterStateByte(m)});
}

constexpr CommandEntry kStatusCommands[] = {
    {0x00, "status request", VariantSet::All(), Effect::kQuery, &HandleStatusRequest},
    // 08-01 runs at a fixed rate.
    {0x26, "change baud rate", VariantSet::All().Without(k0801), Effect::kChangesState,
     &HandleChangeBaudRate},
    {0x30, "printer state request", VariantSet{kEp05, kEp06, k0502, k0503}, Effect::kQuery,
     &HandlePrinterStateRequest},
};

std::string Utf8(const Bytes& cp866) {
  return Cp866ToUtf8(std::string(cp866.begin(), cp866.end()));
}

}  // namespace

std::span<const CommandEntry> StatusCommands() {
  return kStatusCommands;
}

bool DayTooLong(const PrinterModel& m) {
  using namespace std::chrono_literals;
  return m.status.mode.day_open && m.day_opened_at && m.clock.Now() - *m.day_opened_at > 24h;
}

Byte StatusByte(const PrinterModel& m) {
  const VariantTraits& t = m.traits();
  const DeviceConditions& c = m.status.conditions;
  const PaperState& p = m.status.paper;
  // Where bit 1 speaks of the electronic journal, paper out shows as "not ready".
  const bool not_ready = c.not_ready || (!t.status_bit1_is_paper && p.receipt_out);
  const bool bit1 = t.status_bit1_is_paper ? p.receipt_out : c.journal_over_72h;
  return Bit(not_ready, 0) | Bit(bit1, 1) | Bit(c.fiscal_memory_full, 2) | Bit(c.clock_failure, 3) |
         Bit(c.display_failure, 4) | Bit(DayTooLong(m), 5) | Bit(c.low_voltage, 6) |
         Bit(c.operation_denied, 7);
}

Byte ReserveByte(const PrinterModel& m) {
  const VariantTraits& t = m.traits();
  const StatusState& s = m.status;
  return Bit(s.mode.service_report_open, 0) | Bit(s.conditions.finish_after_error, 1) |
         Bit(t.reserve_has_paper_notice && s.paper.receipt_out, 2) |
         Bit(t.has_personalization && !s.conditions.personalized, 7);
}

Byte ModeFlagsA(const PrinterModel& m) {
  const ModeFlags& f = m.status.mode;
  return Bit(f.payment_begun, 1) | Bit(f.cash_drawer, 2) | Bit(f.refund_receipt, 3) | Bit(f.taxes_added, 4) |
         Bit(f.day_open, 5) | Bit(f.receipt_open, 6) |
         Bit(m.traits().has_display_switch && f.customer_display, 7);
}

Byte ModeFlagsB(const PrinterModel& m) {
  const StatusState& s = m.status;
  const ModeFlags& f = s.mode;
  const VariantTraits& t = m.traits();
  return Bit(t.has_receipt_only_flag && !f.service_report_only_receipt, 0) | Bit(f.taxes_changed, 1) |
         Bit(f.service_report_open, 3) | Bit(s.fiscalization.done, 4) | Bit(s.last_command_failed, 5) |
         Bit(t.has_online_print_switch && f.online_print, 6);
}

Bytes StatusBlock(const PrinterModel& m) {
  const VariantTraits& t = m.traits();
  const StatusState& s = m.status;
  Bytes d = {ModeFlagsA(m), ModeFlagsB(m)};
  AppendField(d, s.identity.serial_number, 10);
  AppendField(d, s.identity.model_name, 9);
  if (s.fiscalization.done) {
    const CivilTime& at = s.fiscalization.at;
    for (int v : {at.day, at.month, at.year % 100, at.hour, at.minute}) d.push_back(BcdByte(v));
  } else {
    d.insert(d.end(), 5, 0);
  }
  AppendField(d, s.identity.fiscal_number, 10);
  for (const HeaderLine& line : m.programming.header) {
    // The newer variants read six bits of length and keep the print attributes in the top two.
    const std::size_t max_length = t.newer_family ? 63 : 255;
    const std::size_t length = std::min(line.text.size(), max_length);
    Byte length_byte = static_cast<Byte>(length);
    if (t.newer_family) length_byte |= Bit(line.double_width, 6) | Bit(line.double_height, 7);
    d.push_back(length_byte);
    d.insert(d.end(), line.text.begin(), line.text.begin() + static_cast<std::ptrdiff_t>(length));
  }
  if (t.has_version_tag) {
    const Bytes& tag = s.identity.version_tag;
    AppendField(d, std::string_view(reinterpret_cast<const char*>(tag.data()), tag.size()), 5);
  }
  return d;
}

Byte PrinterStateByte(const PrinterModel& m) {
  const bool journal = m.traits().has_journal_paper;
  const PaperState& p = m.status.paper;
  return Bit(p.connection_error, 0) | Bit(journal && p.journal_low, 2) | Bit(p.receipt_low, 3) |
         Bit(journal && p.journal_out, 5) | Bit(p.receipt_out, 6);
}

void WriteIdentityJson(const PrinterModel& m, Json& j) {
  const StatusState& s = m.status;
  j["variant"] = Tag(m.variant);
  j["serial_number"] = s.identity.serial_number;
  j["model_name"] = Cp866ToUtf8(s.identity.model_name);
  j["fiscal_number"] = Cp866ToUtf8(s.identity.fiscal_number);
  j["version_tag"] = Utf8(s.identity.version_tag);
  j["fiscalized"] = s.fiscalization.done;
  j["fiscalized_at"] = s.fiscalization.done ? Json(FormatCivil(s.fiscalization.at)) : Json(nullptr);
}

void WriteModeJson(const PrinterModel& m, Json& j) {
  const ModeFlags& f = m.status.mode;
  j["mode"] = {
      {"day_open", f.day_open},
      {"receipt_open", f.receipt_open},
      {"refund_receipt", f.refund_receipt},
      {"payment_begun", f.payment_begun},
      {"cash_drawer", f.cash_drawer},
      {"taxes_added", f.taxes_added},
      {"taxes_changed", f.taxes_changed},
      {"customer_display", f.customer_display},
      {"service_report_open", f.service_report_open},
      {"service_report_only_receipt", f.service_report_only_receipt},
      {"online_print", f.online_print},
  };
  j["day_opened_at"] = m.day_opened_at ? Json(FormatCivil(ToCivil(*m.day_opened_at))) : Json(nullptr);
}

void WriteDeviceJson(const PrinterModel& m, Json& j) {
  const StatusState& s = m.status;
  const PaperState& p = s.paper;
  j["paper"] = {
      {"receipt_low", p.receipt_low},           {"receipt_out", p.receipt_out},
      {"journal_low", p.journal_low},           {"journal_out", p.journal_out},
      {"connection_error", p.connection_error},
  };
  const DeviceConditions& c = s.conditions;
  j["conditions"] = {
      {"not_ready", c.not_ready},
      {"fiscal_memory_full", c.fiscal_memory_full},
      {"clock_failure", c.clock_failure},
      {"display_failure", c.display_failure},
      {"low_voltage", c.low_voltage},
      {"journal_over_72h", c.journal_over_72h},
      {"operation_denied", c.operation_denied},
      {"finish_after_error", c.finish_after_error},
      {"personalized", c.personalized},
  };
  j["line"] = {{"baud", s.line.baud}, {"usb", s.line.usb}};
}

void WriteStatusJson(const PrinterModel& m, Json& j) {
  j["last_command_failed"] = m.status.last_command_failed;
  j["status_byte"] = StatusByte(m);
  j["reserve_byte"] = ReserveByte(m);
  j["status_block"] = HexString(StatusBlock(m));
}

}  // namespace zorfp::sim
