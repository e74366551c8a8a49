// The tax table: programming it (0x19, in the newer and the older layout), the tax query (0x2C),
// its place in the memory map and in the state dump. tax_table.h holds it and its arithmetic.
#include <cstdio>

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

constexpr int kNewerRates = 5;  // the newer layout always carries five rates
constexpr Byte kTaxAddedBit = 0x10;
constexpr Byte kMixedBit = 0x20;
constexpr Byte kOlderDecimalsMask = 0x0F;
constexpr int kMostDecimals = 8;
constexpr std::uint16_t kMostRate = 9999;
constexpr std::uint16_t kMostOlderRate = 10000;

// Where the host reads the table by address.
constexpr Byte kCountPage = 0x00;
constexpr std::uint16_t kCountAddress = 0x0016;
constexpr std::uint16_t kTableAddress = 0x0150;
constexpr std::uint16_t kExtraFAddress = 0x0165;  // EP-06: after five additional rates

std::uint16_t ProgrammingPassword(const PrinterModel& m) {
  return m.programming.settings.passwords[kProgrammingPassword];
}

struct TaxProgram {
  std::uint16_t password = 0;
  int count = 0;
  std::array<std::uint16_t, kTaxGroups> rates{};
  std::array<std::uint16_t, kTaxGroups> extra{};
  Byte type = 0;
};

std::optional<TaxProgram> ParseProgram(const VariantTraits& t, std::span<const Byte> params) {
  FieldReader r(params);
  TaxProgram p;
  p.password = static_cast<std::uint16_t>(r.UInt(2));
  p.count = r.Byte1();
  const int sent = t.newer_family ? kNewerRates : p.count;
  if (sent > t.tax_rate_slots) return p;  // too many; refused after the password
  for (int g = 0; g < sent; ++g) p.rates[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(r.UInt(2));
  p.type = r.Byte1();
  if (t.newer_family && (p.type & kMixedBit) != 0) {
    for (int g = 0; g < kNewerRates; ++g) p.extra[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(r.UInt(2));
  }
  if (!r.Complete()) return std::nullopt;
  return p;
}

Refusal ValueRefusal(const PrinterModel& m, const TaxProgram& p) {
  const VariantTraits& t = m.traits();
  if (p.count > t.tax_rate_slots) return result::kTooManyTaxes;
  if (p.count == 0) return t.bad_parameter_result;
  if (t.newer_family) {
    if ((p.type & ~(kTaxAddedBit | kMixedBit)) != 0) return t.bad_parameter_result;
    const bool mixed = (p.type & kMixedBit) != 0;
    for (int g = 0; g < kNewerRates; ++g) {
      const auto i = static_cast<std::size_t>(g);
      if (p.rates[i] > kMostRate) return t.bad_parameter_result;
      if (mixed && (p.extra[i] > kMostRate || p.rates[i] + p.extra[i] > kMostRate)) return t.bad_parameter_result;
    }
    return std::nullopt;
  }
  if ((p.type & ~(kTaxAddedBit | kOlderDecimalsMask)) != 0) return t.bad_parameter_result;
  if ((p.type & kOlderDecimalsMask) > kMostDecimals) return t.bad_parameter_result;
  for (int g = 0; g < p.count; ++g) {
    if (p.rates[static_cast<std::size_t>(g)] > kMostOlderRate) return t.bad_parameter_result;
  }
  return std::nullopt;
}

void PrintTaxTable(PrinterModel& m) {
  const TaxTable& t = m.taxes;
  Print(m, Centered(Utf8ToCp866("ПОДАТКОВI СТАВКИ")));
  for (int g = 0; g < t.count; ++g) {
    const auto i = static_cast<std::size_t>(g);
    std::string rate = PercentText(t.rates[i]);
    if (t.mixed) rate += " + " + PercentText(t.extra[i]);
    for (const Cp866Text& line : Columns(Utf8ToCp866("ПДВ ") + GroupLetter(g), rate)) Print(m, line);
  }
  Print(m, Utf8ToCp866(m.status.mode.taxes_added ? "ПОДАТОК ДОДАЄТЬСЯ ДО ЦIНИ" : "ПОДАТОК У ЦIНI"));
  Print(m, "");
}

// Tax programming: password (2), count, the rates and the type byte. Newer: five rates whatever
// the count, type 0x10 tax added or 0x20 mixed, then five additional rates with 0x20. Older: the
// count's rates, then the money's decimal digits with 0x10 for tax added. Only with the day closed.
Reply HandleSetTaxRate(PrinterModel& m, const Request& r) {
  const VariantTraits& t = m.traits();
  const auto p = ParseProgram(t, r.params);
  if (!p) return RefuseBadParameter(m);
  if (p->password != ProgrammingPassword(m)) return Reply::Refuse(result::kBadPassword);
  if (m.status.mode.day_open) return Reply::Refuse(result::kZReportNeeded);
  if (const Refusal refusal = ValueRefusal(m, *p)) return Reply::Refuse(*refusal);

  TaxTable& table = m.taxes;
  table.count = p->count;
  for (int g = 0; g < t.tax_rate_slots; ++g) {
    const auto i = static_cast<std::size_t>(g);
    table.rates[i] = g < (t.newer_family ? kNewerRates : p->count) ? p->rates[i] : 0;
  }
  table.mixed = t.newer_family && (p->type & kMixedBit) != 0;
  for (int g = 0; g < kNewerRates; ++g) table.extra[static_cast<std::size_t>(g)] = p->extra[static_cast<std::size_t>(g)];
  if (!t.newer_family) table.decimals = p->type & kOlderDecimalsMask;
  m.status.mode.taxes_added = (p->type & kTaxAddedBit) != 0;
  m.status.mode.taxes_changed = true;
  const CivilTime now = m.clock.NowCivil();
  table.programmed_day = now.day;
  table.programmed_month = now.month;
  table.programmed_year = now.year;
  PrintTaxTable(m);
  return Reply::Ok();
}

Byte TypeByte(const PrinterModel& m) {
  const Byte added = m.status.mode.taxes_added ? kTaxAddedBit : 0;
  if (!m.traits().newer_family) return static_cast<Byte>(added | m.taxes.decimals);
  return static_cast<Byte>(added | (m.taxes.mixed ? kMixedBit : 0));
}

// Tax query: count, programming date (BCD day, month, year), the count's rates, the type byte and,
// with mixed taxes, the count's additional rates (EP-06: and group F's).
Reply HandleTaxQuery(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const TaxTable& t = m.taxes;
  Bytes d = {static_cast<Byte>(t.count), BcdByte(t.programmed_day), BcdByte(t.programmed_month),
             BcdByte(t.programmed_year % 100)};
  for (int g = 0; g < t.count; ++g) AppendUInt(d, t.rates[static_cast<std::size_t>(g)], 2);
  d.push_back(TypeByte(m));
  if (t.mixed) {
    for (int g = 0; g < t.count; ++g) AppendUInt(d, t.extra[static_cast<std::size_t>(g)], 2);
    if (m.variant == kEp06) AppendUInt(d, t.extra[kNewerRates], 2);
  }
  return Reply::Ok(std::move(d));
}

constexpr VariantSet kNewer = {kEp02, kEp05, kEp06, k0502, k0503};

constexpr CommandEntry kTaxesCommands[] = {
    {0x19, "program tax rates", VariantSet::All(), Effect::kChangesState, &HandleSetTaxRate},
    {0x2C, "tax query", kNewer, Effect::kQuery, &HandleTaxQuery},
};

}  // namespace

std::span<const CommandEntry> TaxesCommands() {
  return kTaxesCommands;
}

// The count on page 0x00; on the register page the rates, the type byte and the additional rates,
// packed by the count; EP-06's group F additional rate at its own place.
void ProjectTaxRegisters(PrinterModel& m) {
  const TaxTable& t = m.taxes;
  const Byte count = static_cast<Byte>(t.count);
  m.memory.Write(kCountPage, kCountAddress, std::span(&count, 1));
  Bytes table;
  for (int g = 0; g < t.count; ++g) AppendUInt(table, t.rates[static_cast<std::size_t>(g)], 2);
  table.push_back(TypeByte(m));
  for (int g = 0; g < t.count; ++g) AppendUInt(table, t.extra[static_cast<std::size_t>(g)], 2);
  m.memory.Write(kRegisterPage, kTableAddress, table);
  if (m.variant == kEp06) {
    Bytes f;
    AppendUInt(f, t.extra[kNewerRates], 2);
    m.memory.Write(kRegisterPage, kExtraFAddress, f);
  }
}

// Each group's rate in hundredths of a percent, "untaxed", or null when it is not programmed; the
// additional rates with mixed taxes, the programming date and, on EP-01 and 08-01, the decimals.
void WriteTaxesJson(const PrinterModel& m, Json& j) {
  Json rates = Json::object();
  Json extra = Json::object();
  for (int g = 0; g < kTaxGroups; ++g) {
    const std::optional<std::uint16_t> rate = GroupRate(m.taxes, m.traits(), g);
    if (IsTaxedGroup(m.taxes, m.traits(), g)) {
      rates[GroupKey(g)] = *rate;
      if (m.taxes.mixed) extra[GroupKey(g)] = m.taxes.extra[static_cast<std::size_t>(g)];
    } else if (rate) {
      rates[GroupKey(g)] = "untaxed";
    } else {
      rates[GroupKey(g)] = nullptr;
    }
  }
  if (m.taxes.mixed && m.variant == kEp06) extra["F"] = m.taxes.extra[kNewerRates];
  const TaxTable& t = m.taxes;
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", t.programmed_year, t.programmed_month, t.programmed_day);
  j["taxes"] = {{"count", t.count}, {"rates", std::move(rates)}, {"mixed", t.mixed}, {"programmed", date}};
  if (t.mixed) j["taxes"]["extra"] = std::move(extra);
  if (!m.traits().newer_family) j["taxes"]["decimals"] = t.decimals;
}

}  // namespace zorfp::sim
