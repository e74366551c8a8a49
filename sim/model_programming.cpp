// What the host programs into the printer: cashiers and passwords, the fiscal number, the header
// and the lines around a receipt, payment-form names and the service settings.
//
// Every command that carries the programming password is refused with 21 when it is not the one
// the printer holds. The header and the payment names cannot change while the day is open (41: a
// Z report first), and the fiscal number only goes in once, before fiscalization (16).
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/receipt_flow.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

constexpr std::size_t kUserNameLimit = 15;
constexpr Byte kKeepName = 0xFF;
constexpr Byte kLengthMask = 0x3F;
constexpr Byte kDoubleWidth = 0x40;
constexpr Byte kDoubleHeight = 0x80;
constexpr std::size_t kEnlargedLimit = 20;
constexpr std::size_t kTextLineLimit = 36;
constexpr std::size_t kNumberLength = 12;
constexpr Byte kNumberByte = 0x0C;
constexpr Byte kIdentificationBit = 0x80;
constexpr std::size_t kFiscalNumberLength = 10;
constexpr Byte kLineSpacingLimit = 64;
constexpr int kContrastHigh = 200;
constexpr std::uint64_t kItemsFormatLimit = 11136;
constexpr std::size_t kEan13Length = 13;
constexpr std::size_t kPayNameLimit = 15;
constexpr std::uint16_t kPasswordTableAddress = 0x3003;
constexpr std::uint16_t kPayNamesAddress = 0x2D00;
constexpr std::size_t kPayNameRecord = 16;

SettingsState& Settings(PrinterModel& m) {
  return m.programming.settings;
}

bool ProgrammingPasswordOk(const PrinterModel& m, std::uint64_t password) {
  return password == m.programming.settings.passwords[kProgrammingPassword];
}

std::string TakeText(FieldReader& r, std::size_t length) {
  const std::span<const Byte> bytes = r.Take(length);
  return {bytes.begin(), bytes.end()};
}

// 0x05: old password (2), number (1), new password (2), name length (1), name; 08-01 keeps no
// name here.
Reply HandleSetPassword(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t old_password = r.UInt(2);
  const Byte number = r.Byte1();
  const std::uint64_t new_password = r.UInt(2);
  std::optional<Cp866Text> name;
  if (m.variant != k0801) name = TakeText(r, r.Byte1());
  if (!r.Complete()) return RefuseBadParameter(m);
  if (number >= kPasswordNumbers) return Reply::Refuse(result::kBadNumber);
  if (name && name->size() > kUserNameLimit) return Reply::Refuse(result::kBadLength);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  SettingsState& s = Settings(m);
  if (old_password != s.passwords[number]) return Reply::Refuse(result::kBadPassword);
  s.passwords[number] = static_cast<std::uint16_t>(new_password);
  if (name) s.names[number] = *name;
  return Reply::Ok();
}

// 0x06: password (2), cashier number (1), then a name, or 0xFF to keep the one held. The cashier
// registered stays on duty until another one is.
Reply HandleSetCashier(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  const Byte number = r.Byte1();
  const Byte length = r.Byte1();
  std::optional<Cp866Text> name;
  if (length != kKeepName) name = TakeText(r, length);
  if (!r.Complete()) return RefuseBadParameter(m);
  if (number < 1 || number > 8) return Reply::Refuse(result::kBadNumber);
  if (name && name->size() > kUserNameLimit) return Reply::Refuse(result::kBadLength);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  SettingsState& s = Settings(m);
  if (password != s.passwords[number]) return Reply::Refuse(result::kBadPassword);
  if (name) s.names[number] = *name;
  s.cashier = number;
  return Reply::Ok();
}

bool FiscalNumberCharacter(Byte c) {
  const bool latin = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  const bool cyrillic = (c >= 0x80 && c <= 0xAF) || (c >= 0xE0 && c <= 0xF7);
  return (c >= '0' && c <= '9') || latin || cyrillic || c == ' ';
}

// 0x15: password (2), fiscal number (10). Fiscalizes the printer.
Reply HandleFiscalNumber(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  const Cp866Text number = TakeText(r, kFiscalNumberLength);
  if (!r.Complete()) return RefuseBadParameter(m);
  if (!ProgrammingPasswordOk(m, password)) return Reply::Refuse(result::kBadPassword);
  if (m.status.fiscalization.done) return Reply::Refuse(result::kCommandForbidden);
  for (char c : number) {
    if (!FiscalNumberCharacter(static_cast<Byte>(c))) return Reply::Refuse(result::kForbiddenSymbol);
  }
  m.status.identity.fiscal_number = number;
  m.status.fiscalization = {true, m.clock.NowCivil()};
  return Reply::Ok();
}

HeaderLine ReadAttributedLine(FieldReader& r, std::size_t plain_limit, bool& too_long) {
  const Byte attributes = r.Byte1();
  HeaderLine line;
  line.text = TakeText(r, attributes & kLengthMask);
  line.double_width = (attributes & kDoubleWidth) != 0;
  line.double_height = (attributes & kDoubleHeight) != 0;
  const bool enlarged = line.double_width || line.double_height;
  if (line.text.size() > (enlarged ? kEnlargedLimit : plain_limit)) too_long = true;
  return line;
}

// 0x16, newer variants: password (2), three lines each behind its attribute byte, the number byte
// (0x0C, bit 7 for an identification number) and the 12 characters of the number.
Reply HandleNewerHeader(PrinterModel& m, FieldReader& r, std::uint64_t password) {
  const std::size_t plain_limit = m.variant == kEp06 ? 30 : 24;
  bool too_long = false;
  std::array<HeaderLine, 4> header;
  for (int i = 0; i < 3; ++i) header[static_cast<std::size_t>(i)] = ReadAttributedLine(r, plain_limit, too_long);
  const Byte number_byte = r.Byte1();
  const Cp866Text number = TakeText(r, kNumberLength);
  if (!r.Complete() || (number_byte & ~kIdentificationBit) != kNumberByte) return RefuseBadParameter(m);
  if (too_long) return Reply::Refuse(result::kBadLength);
  if (!ProgrammingPasswordOk(m, password)) return Reply::Refuse(result::kBadPassword);
  if (m.status.mode.day_open) return Reply::Refuse(result::kZReportNeeded);
  header[3].text = Utf8ToCp866((number_byte & kIdentificationBit) != 0 ? "ID " : "ПН ") + number;
  m.programming.header = header;
  return Reply::Ok();
}

// 0x16, EP-01 and 08-01: password (2) and four length-prefixed lines of at most 24 characters.
Reply HandleOlderHeader(PrinterModel& m, FieldReader& r, std::uint64_t password) {
  std::array<HeaderLine, 4> header;
  bool too_long = false;
  for (HeaderLine& line : header) {
    line.text = TakeText(r, r.Byte1());
    if (line.text.size() > 24) too_long = true;
  }
  if (!r.Complete()) return RefuseBadParameter(m);
  if (too_long) return Reply::Refuse(result::kBadLength);
  if (!ProgrammingPasswordOk(m, password)) return Reply::Refuse(result::kBadPassword);
  if (m.status.mode.day_open) return Reply::Refuse(result::kZReportNeeded);
  m.programming.header = header;
  return Reply::Ok();
}

Reply HandleHeader(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  return m.traits().newer_family ? HandleNewerHeader(m, r, password) : HandleOlderHeader(m, r, password);
}

// 0x17: line code (1), attribute byte (1), text. Codes 6 and 7 (extra header lines) are EP-06's.
Reply HandleTextLine(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const Byte code = r.Byte1();
  bool too_long = false;
  const HeaderLine line = ReadAttributedLine(r, kTextLineLimit, too_long);
  if (!r.Complete()) return RefuseBadParameter(m);
  const int codes = m.variant == kEp06 ? kTextLineCodes : 6;
  if (code >= codes) return Reply::Refuse(result::kBadNumber);
  if (too_long) return Reply::Refuse(result::kBadLength);
  Settings(m).lines[code] = {line.text, line.double_width, line.double_height};
  return Reply::Ok();
}

// 0x27: one byte. Below 64 it is the line spacing; where the printer has a contrast setting, 64 to
// 200 set the contrast.
Reply HandleSpacingOrContrast(PrinterModel& m, const Request& req) {
  if (req.params.size() != 1) return RefuseBadParameter(m);
  const Byte value = req.params[0];
  const bool has_contrast = m.variant == kEp05 || m.variant == kEp06;
  if (value < kLineSpacingLimit) {
    Settings(m).line_spacing = value;
  } else if (has_contrast && value <= kContrastHigh) {
    Settings(m).contrast = value;
  } else {
    return RefuseBadParameter(m);
  }
  return Reply::Ok();
}

// 0x2D: password (2), 1 or 0 (logo on or off), four zero bytes.
Reply HandleLogo(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  const Byte on = r.Byte1();
  const std::uint64_t reserved = r.UInt(4);
  if (!r.Complete() || on > 1 || reserved != 0) return RefuseBadParameter(m);
  if (!ProgrammingPasswordOk(m, password)) return Reply::Refuse(result::kBadPassword);
  Settings(m).logo = on == 1;
  return Reply::Ok();
}

bool Ean13CheckDigitOk(std::span<const Byte> digits) {
  int sum = 0;
  for (std::size_t i = 0; i + 1 < kEan13Length; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return (10 - sum % 10) % 10 == digits[kEan13Length - 1] - '0';
}

// 0x31: 13 digits whose last is the check digit of the first twelve; printed at once.
Reply HandlePrintEan13(PrinterModel& m, const Request& req) {
  if (req.params.size() != kEan13Length) return RefuseBadParameter(m);
  for (Byte c : req.params) {
    if (c < '0' || c > '9') return RefuseBadParameter(m);
  }
  if (!Ean13CheckDigitOk(req.params)) return RefuseBadParameter(m);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  Print(m, "EAN-13 " + std::string(req.params.begin(), req.params.end()));
  return Reply::Ok();
}

// 0x32 (EP-06): password (2), form index 0 to 9 (not 3, cash), name length (1 to 15), name.
Reply HandleSetPayName(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  const Byte form = r.Byte1();
  const Cp866Text name = TakeText(r, r.Byte1());
  if (!r.Complete()) return RefuseBadParameter(m);
  if (form >= m.traits().payment_forms || form == kCashForm) return Reply::Refuse(result::kNoSuchPaymentForm);
  if (name.empty() || name.size() > kPayNameLimit) return Reply::Refuse(result::kBadLength);
  if (!ProgrammingPasswordOk(m, password)) return Reply::Refuse(result::kBadPassword);
  if (m.status.mode.day_open) return Reply::Refuse(result::kZReportNeeded);
  Settings(m).payment_names[form] = name;
  return Reply::Ok();
}

// 0x3A: squeezed printing from now on.
Reply HandleSqueeze(PrinterModel& m, const Request& req) {
  if (!req.params.empty()) return RefuseBadParameter(m);
  Settings(m).squeezed = true;
  return Reply::Ok();
}

// 0x3C: password (2), items quantity (2, at most 11136).
Reply HandleItemsFormat(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  const std::uint64_t items = r.UInt(2);
  if (!r.Complete() || items > kItemsFormatLimit) return RefuseBadParameter(m);
  if (!ProgrammingPasswordOk(m, password)) return Reply::Refuse(result::kBadPassword);
  if (m.status.mode.day_open) return Reply::Refuse(result::kZReportNeeded);
  Settings(m).items_format = static_cast<int>(items);
  return Reply::Ok();
}

constexpr VariantSet kNewer{kEp02, kEp05, kEp06, k0502, k0503};

constexpr CommandEntry kProgrammingCommands[] = {
    {0x05, "set password", VariantSet::All(), Effect::kChangesState, &HandleSetPassword},
    {0x06, "set cashier", VariantSet::All(), Effect::kChangesState, &HandleSetCashier},
    {0x15, "fiscal number", VariantSet::All(), Effect::kChangesState, &HandleFiscalNumber},
    {0x16, "header", VariantSet::All(), Effect::kChangesState, &HandleHeader},
    {0x17, "text line", VariantSet::All(), Effect::kChangesState, &HandleTextLine},
    {0x27, "line spacing or contrast", VariantSet{kEp01, kEp02, kEp05, kEp06, k0502, k0503},
     Effect::kChangesState, &HandleSpacingOrContrast},
    {0x2D, "logo", kNewer, Effect::kChangesState, &HandleLogo},
    {0x31, "print EAN-13", VariantSet{kEp05, kEp06, k0502, k0503}, Effect::kChangesState, &HandlePrintEan13},
    {0x32, "payment name", VariantSet{kEp06}, Effect::kChangesState, &HandleSetPayName},
    {0x3A, "squeeze", VariantSet{k0502, k0503}, Effect::kChangesState, &HandleSqueeze},
    {0x3C, "items format", VariantSet{k0502, k0503}, Effect::kChangesState, &HandleItemsFormat},
};

Json LineJson(const Cp866Text& text, bool width, bool height) {
  return Json{{"text", Cp866ToUtf8(text)}, {"double_width", width}, {"double_height", height}};
}

}  // namespace

std::span<const CommandEntry> ProgrammingCommands() {
  return kProgrammingCommands;
}

void ProjectProgrammingRegisters(PrinterModel& m) {
  const SettingsState& s = m.programming.settings;
  Bytes table;
  for (int n = 1; n <= 8; ++n) AppendUInt(table, s.passwords[static_cast<std::size_t>(n)], 2);
  AppendUInt(table, s.passwords[kProgrammingPassword], 2);
  AppendUInt(table, s.passwords[kReportsPassword], 2);
  m.memory.Write(kRegisterPage, kPasswordTableAddress, table);
  for (std::size_t form = 0; form < s.payment_names.size(); ++form) {
    Bytes record(kPayNameRecord, 0);
    const Cp866Text& name = s.payment_names[form];
    record[0] = static_cast<Byte>(name.size());
    std::copy(name.begin(), name.end(), record.begin() + 1);
    m.memory.Write(kRegisterPage, static_cast<std::uint16_t>(kPayNamesAddress + kPayNameRecord * form), record);
  }
}

void PrintLinesBeforeReceipt(PrinterModel& m) {
  for (int code : {6, 7, 0, 2, 3}) {
    const TextLine& line = m.programming.settings.lines[static_cast<std::size_t>(code)];
    if (!line.text.empty()) Print(m, line.text);
  }
}

void PrintLinesAfterReceipt(PrinterModel& m) {
  for (int code : {1, 4, 5}) {
    const TextLine& line = m.programming.settings.lines[static_cast<std::size_t>(code)];
    if (!line.text.empty()) Print(m, line.text);
  }
}

void WriteHeaderJson(const PrinterModel& m, Json& j) {
  Json& lines = j["header"] = Json::array();
  for (const HeaderLine& line : m.programming.header) {
    lines.push_back(LineJson(line.text, line.double_width, line.double_height));
  }
}

void WriteSettingsJson(const PrinterModel& m, Json& j) {
  const SettingsState& s = m.programming.settings;
  Json& out = j["programming"] = Json::object();
  Json& cashiers = out["cashiers"] = Json::array();
  for (std::size_t n = 0; n < s.passwords.size(); ++n) {
    cashiers.push_back(Json{{"number", n}, {"password", s.passwords[n]}, {"name", Cp866ToUtf8(s.names[n])}});
  }
  out["cashier_on_duty"] = s.cashier ? Json(*s.cashier) : Json(nullptr);
  Json& lines = out["text_lines"] = Json::array();
  for (const TextLine& line : s.lines) lines.push_back(LineJson(line.text, line.double_width, line.double_height));
  Json& names = out["payment_names"] = Json::array();
  for (const Cp866Text& name : s.payment_names) names.push_back(Cp866ToUtf8(name));
  out["logo"] = s.logo;
  out["line_spacing"] = s.line_spacing;
  out["contrast"] = s.contrast;
  out["items_format"] = s.items_format;
  out["squeezed"] = s.squeezed;
}

}  // namespace zorfp::sim
