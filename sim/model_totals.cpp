// The day's registers and the open receipt's turnover, as the host reads them: the day totals
// (0x2A), the receipt totals (0x2B), and the registers in the memory map.
#include <nlohmann/json.hpp>

#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/receipt_flow.h"

namespace zorfp::sim {
namespace {

using enum Variant;

// A day counter as four decimal digits in two BCD bytes, low pair first.
void AppendBcdCounter(Bytes& out, std::uint32_t n) {
  out.push_back(BcdByte(static_cast<int>(n % 100)));
  out.push_back(BcdByte(static_cast<int>(n / 100 % 100)));
}

void AppendHalf(Bytes& out, const DayHalf& half, int forms, std::int64_t cash) {
  AppendBcdCounter(out, half.receipts);
  for (std::int64_t g : half.turnover_by_group) AppendMoney40(out, g);
  for (int f = 0; f < forms; ++f) AppendMoney40(out, half.by_payment_form[static_cast<std::size_t>(f)]);
  AppendMoney40(out, half.markups);
  AppendMoney40(out, half.discounts);
  AppendMoney40(out, cash);
}

void WriteMoney(PrinterModel& m, std::uint16_t address, std::int64_t value) {
  Bytes b;
  AppendMoney40(b, value);
  m.memory.Write(kRegisterPage, address, b);
}

void WriteGroups(PrinterModel& m, std::uint16_t address, const GroupAmounts& groups) {
  for (std::int64_t g : groups) {
    WriteMoney(m, address, g);
    address += 5;
  }
}

void WriteCancellations(PrinterModel& m, std::uint16_t address, const CancelCount& sales,
                        const CancelCount& refunds) {
  Bytes b;
  AppendUInt(b, sales.count, 2);
  AppendMoney40(b, sales.sum);
  AppendUInt(b, refunds.count, 2);
  AppendMoney40(b, refunds.sum);
  m.memory.Write(kRegisterPage, address, b);
}

void WriteCounter(PrinterModel& m, std::uint16_t address, std::uint32_t n) {
  Bytes b;
  // The older firmware keeps the counter in BCD, the newer in binary.
  if (m.traits().newer_family) {
    AppendUInt(b, n, 2);
  } else {
    AppendBcdCounter(b, n);
  }
  m.memory.Write(kRegisterPage, address, b);
}

// Day totals: for sales, then for refunds: receipt counter (2 BCD), turnover of groups A to F,
// turnover per payment form (4, or 10 on EP-06), markups, discounts (5 bytes each), and the cash put
// in (sales half) or taken out (refund half). 134 bytes, 194 on EP-06.
Reply HandleDayTotals(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const int forms = m.traits().payment_forms;
  Bytes out;
  AppendHalf(out, m.day.sales, forms, m.day.cash_in);
  AppendHalf(out, m.day.refunds, forms, m.day.cash_out);
  return Reply::Ok(std::move(out));
}

// Open receipt: turnover of groups A to F, then the sum paid in each payment form, 4 bytes each.
// Zeros when no receipt is open.
Reply HandleReceiptTotals(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const bool open = m.receipt.open();
  const ReceiptSums sums = CurrentSums(m);
  Bytes out;
  for (std::int64_t g : sums.turnover) AppendUInt(out, open ? static_cast<std::uint64_t>(g) : 0u, 4);
  for (int f = 0; f < m.traits().payment_forms; ++f) {
    AppendUInt(out, open ? static_cast<std::uint64_t>(m.receipt.PaidIn(f)) : 0u, 4);
  }
  return Reply::Ok(std::move(out));
}

// The older variants' hosts read these registers by address instead.
constexpr VariantSet kBlockReaders = VariantSet::All().Without(kEp01).Without(k0801);

constexpr CommandEntry kTotalsCommands[] = {
    {0x2A, "day totals", kBlockReaders, Effect::kQuery, &HandleDayTotals},
    {0x2B, "receipt totals", kBlockReaders, Effect::kQuery, &HandleReceiptTotals},
};

Json CancelJson(const CancelCount& c) {
  return {{"count", c.count}, {"sum", c.sum}};
}

Json HalfJson(const DayHalf& half, int forms) {
  Json by_form = Json::array();
  for (int f = 0; f < forms; ++f) by_form.push_back(half.by_payment_form[static_cast<std::size_t>(f)]);
  return {
      {"receipts", half.receipts},
      {"turnover_by_tax", GroupsJson(half.turnover_by_group)},
      {"by_payment_form", std::move(by_form)},
      {"markups", half.markups},
      {"discounts", half.discounts},
      {"cancelled_receipts", CancelJson(half.cancelled_receipts)},
      {"cancelled_items", CancelJson(half.cancelled_items)},
  };
}

}  // namespace

std::span<const CommandEntry> TotalsCommands() {
  return kTotalsCommands;
}

void ProjectDayRegisters(PrinterModel& m) {
  const DayRegisters& d = m.day;
  WriteCounter(m, 0x301B, d.sales.receipts);
  WriteGroups(m, 0x301D, d.sales.turnover_by_group);
  WriteCounter(m, 0x30AB, d.refunds.receipts);
  WriteGroups(m, 0x30AD, d.refunds.turnover_by_group);
  WriteCancellations(m, 0x2F74, d.sales.cancelled_receipts, d.refunds.cancelled_receipts);
  WriteCancellations(m, 0x2F82, d.sales.cancelled_items, d.refunds.cancelled_items);
  if (m.variant == Variant::kEp01) {
    // EP-01 also keeps card, credit and check turnover, the cash put in and the cash taken out.
    WriteMoney(m, 0x303B, d.sales.by_payment_form[0]);
    WriteMoney(m, 0x3040, d.sales.by_payment_form[1]);
    WriteMoney(m, 0x3045, d.sales.by_payment_form[2]);
    WriteMoney(m, 0x305A, d.cash_in);
    WriteMoney(m, 0x30D5, d.cash_out);
  }
}

void WriteDayJson(const PrinterModel& m, Json& j) {
  const int forms = m.traits().payment_forms;
  j["day"] = {
      {"last_receipt_number", m.last_receipt_number},
      {"sales", HalfJson(m.day.sales, forms)},
      {"refunds", HalfJson(m.day.refunds, forms)},
      {"cash_in", m.day.cash_in},
      {"cash_out", m.day.cash_out},
  };
}

}  // namespace zorfp::sim
