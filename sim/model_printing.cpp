// What the printer puts on paper outside receipts (line feed, non-fiscal documents, barcodes, the
// copy of the last receipt, the version), the switches and the drawer, the customer display, and
// the tape every printed line goes to.
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/result_codes.h"
#include "sim/tape_format.h"

namespace zorfp::sim {
namespace {

using enum Variant;

constexpr std::size_t kNonFiscalWidth = 37;
constexpr Byte kEndOfDocument = 0xFF;
constexpr Byte kReceiptOnlySwitch = 0xFE;
constexpr Byte kStationBits = 0xC0;  // EP-06: station 1 (bit 6) or 2 (bit 7)

Cp866Text Word(std::string_view utf8) {
  return Utf8ToCp866(utf8);
}

// A length byte and exactly that many bytes of text after it.
std::optional<Cp866Text> LengthText(std::span<const Byte> p, Byte length_mask = 0xFF) {
  if (p.empty() || p.size() != 1u + (p[0] & length_mask)) return std::nullopt;
  return Cp866Text(p.begin() + 1, p.end());
}

Reply HandleLineFeed(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (m.status.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  Print(m, "");
  return Reply::Ok();
}

// Line byte (0 to 3 on 05-02 and 05-03, else 0 first line or 1 second), length, text.
Reply HandleCustomerDisplay(PrinterModel& m, const Request& r) {
  if (r.params.size() < 2) return RefuseBadParameter(m);
  const std::size_t lines = m.variant == k0502 || m.variant == k0503 ? kDisplayLines : 2;
  const auto text = LengthText(r.params.subspan(1));
  if (!text || r.params[0] >= lines) return RefuseBadParameter(m);
  if (text->size() > kDisplayWidth) return Reply::Refuse(result::kBadLength);
  m.printing.registers.display[r.params[0]] = *text;
  return Reply::Ok();
}

Reply HandleOpenDrawer(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  ++m.printing.registers.drawer_openings;
  return Reply::Ok();
}

Reply HandleCopyLastReceipt(PrinterModel& m, const Request& r) {
  const PrintingRegisters& p = m.printing.registers;
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (m.status.mode.service_report_open) return Reply::Refuse(result::kCommandForbidden);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  if (p.last_receipt.empty()) return Reply::Refuse(result::kNoReceipts);
  if (m.status.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  const std::vector<Cp866Text> copy = p.last_receipt;
  Print(m, Centered(Word("КОПIЯ")));
  for (const Cp866Text& line : copy) Print(m, line);
  return Reply::Ok();
}

Reply HandlePrintVersion(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (m.status.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  const Identity& id = m.status.identity;
  Print(m, Centered(Word("ВЕРСIЯ ") + std::string(m.traits().tag)));
  Print(m, Centered(Word("ЗН ") + id.serial_number));
  Print(m, "");
  return Reply::Ok();
}

// The switches toggle; the status block shows where they stand.
Reply Toggle(PrinterModel& m, const Request& r, bool& flag) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  flag = !flag;
  return Reply::Ok();
}
Reply HandleOnlineSwitch(PrinterModel& m, const Request& r) {
  return Toggle(m, r, m.status.mode.online_print);
}
Reply HandleDisplaySwitch(PrinterModel& m, const Request& r) {
  return Toggle(m, r, m.status.mode.customer_display);
}
Reply HandleCutterSwitch(PrinterModel& m, const Request& r) {
  return Toggle(m, r, m.printing.cutter_enabled);
}

void EndNonFiscalDocument(PrinterModel& m) {
  Print(m, Rule());
  Print(m, Centered(DateTimeText(m.clock.NowCivil())));
  Print(m, Centered(Word("НЕФIСКАЛЬНИЙ ДОКУМЕНТ")));
  Print(m, "");
  m.status.mode.service_report_open = false;
  m.printing.registers.non_fiscal_lines = 0;
}

// A line of a non-fiscal document (opening it), its end (0xFF), or the receipt-only switch (0xFE,
// EP-05 and EP-06).
Reply HandleNonFiscalLine(PrinterModel& m, const Request& r) {
  if (r.params.size() == 1 && r.params[0] == kEndOfDocument) {
    if (m.status.mode.service_report_open) EndNonFiscalDocument(m);
    return Reply::Ok();
  }
  if (r.params.size() == 1 && r.params[0] == kReceiptOnlySwitch) {
    if (!m.traits().has_receipt_only_flag) return RefuseBadParameter(m);
    m.status.mode.service_report_only_receipt = !m.status.mode.service_report_only_receipt;
    return Reply::Ok();
  }
  const Byte length_mask = m.variant == kEp06 ? static_cast<Byte>(~kStationBits) : 0xFF;
  const auto text = LengthText(r.params, length_mask);
  if (!text) return RefuseBadParameter(m);
  if (text->size() > kNonFiscalWidth) return Reply::Refuse(result::kBadLength);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  if (m.status.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  m.status.mode.service_report_open = true;
  ++m.printing.registers.non_fiscal_lines;
  Print(m, *text);
  return Reply::Ok();
}

// A barcode as a recognisable line: set C symbols as their digit pairs, Code 128 as its characters.
Reply HandleBarcode(PrinterModel& m, const Request& r) {
  const bool set_c = m.variant == k0502 || m.variant == k0503;
  const auto symbols = LengthText(r.params);
  if (!symbols || symbols->empty()) return RefuseBadParameter(m);
  if (symbols->size() > (set_c ? 20u : 16u)) return Reply::Refuse(result::kBadLength);
  std::string line = set_c ? "CODE128C " : "CODE128 ";
  for (const char c : *symbols) {
    const auto v = static_cast<Byte>(c);
    if (v > (set_c ? 99 : 127)) return Reply::Refuse(result::kForbiddenSymbol);
    if (set_c) {
      line += static_cast<char>('0' + v / 10);
      line += static_cast<char>('0' + v % 10);
    } else {
      line += v < 0x20 || v == 0x7F ? '?' : c;
    }
  }
  if (m.status.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  ++m.printing.registers.barcodes_printed;
  Print(m, line);
  return Reply::Ok();
}

constexpr VariantSet kNewer{kEp02, kEp05, kEp06, k0502, k0503};

constexpr CommandEntry kPrintingCommands[] = {
    {0x0E, "line feed", VariantSet::All(), Effect::kChangesState, &HandleLineFeed},
    {0x1B, "customer display", VariantSet::All(), Effect::kChangesState, &HandleCustomerDisplay},
    {0x1D, "open drawer", VariantSet::All(), Effect::kChangesState, &HandleOpenDrawer},
    {0x1E, "copy of the last receipt", VariantSet::All(), Effect::kChangesState, &HandleCopyLastReceipt},
    {0x20, "print version", VariantSet::All(), Effect::kChangesState, &HandlePrintVersion},
    {0x24, "on-line print switch", VariantSet::All().Without(k0801), Effect::kChangesState,
     &HandleOnlineSwitch},
    {0x25, "display switch", VariantSet::All().Without(k0801), Effect::kChangesState, &HandleDisplaySwitch},
    {0x28, "non-fiscal line", kNewer, Effect::kChangesState, &HandleNonFiscalLine},
    {0x2E, "cutter switch", kNewer, Effect::kChangesState, &HandleCutterSwitch},
    {0x2F, "barcode", VariantSet{kEp05, kEp06, k0502, k0503}, Effect::kChangesState, &HandleBarcode},
};

// The receipt's lines, from its head to the empty line that ends a closed one, for the copy.
// A cancelled receipt is not kept: the copy stays that of the last closed receipt.
void KeepForCopy(PrinterModel& m, std::string_view line) {
  PrintingRegisters& p = m.printing.registers;
  if (m.receipt.open()) {
    if (!p.collecting_receipt) p.receipt_lines.clear();
    p.collecting_receipt = true;
    p.receipt_lines.emplace_back(line);
    return;
  }
  if (!p.collecting_receipt) return;
  if (m.receipt.state == ReceiptState::kClosed) {
    p.receipt_lines.emplace_back(line);
    if (!line.empty()) return;
    p.last_receipt = std::move(p.receipt_lines);
  }
  p.receipt_lines.clear();
  p.collecting_receipt = false;
}

bool IsFiscalArea(const CommandEntry& e) {
  for (const CommandArea& area : CommandAreas()) {
    if (area.name != "items" && area.name != "payment" && area.name != "reports") continue;
    const std::span<const CommandEntry> rows = area.commands();
    if (&e >= rows.data() && &e < rows.data() + rows.size()) return true;
  }
  return false;
}

}  // namespace

std::span<const CommandEntry> PrintingCommands() {
  return kPrintingCommands;
}

bool RefusedInNonFiscalDocument(const PrinterModel& m, const CommandEntry& e) {
  return m.status.mode.service_report_open && IsFiscalArea(e);
}

void Print(PrinterModel& m, std::string_view cp866_line) {
  KeepForCopy(m, cp866_line);
  if (m.printing.tape) m.printing.tape(cp866_line);
}

void WritePrintingJson(const PrinterModel& m, Json& j) {
  const PrintingRegisters& p = m.printing.registers;
  j["cutter_enabled"] = m.printing.cutter_enabled;
  Json display = Json::array();
  for (const Cp866Text& line : p.display) display.push_back(Cp866ToUtf8(line));
  j["printing"] = {
      {"customer_display", std::move(display)},
      {"non_fiscal_document", {{"open", m.status.mode.service_report_open}, {"lines", p.non_fiscal_lines}}},
      {"last_receipt_lines", p.last_receipt.size()},
      {"drawer_openings", p.drawer_openings},
      {"barcodes_printed", p.barcodes_printed},
  };
}

}  // namespace zorfp::sim
