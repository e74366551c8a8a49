#include "commands/totals.h"

#include "commands/wire.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kDayTotalsRequest = 0x2A;
constexpr Byte kReceiptTotalsRequest = 0x2B;
constexpr Byte kMoneyInBoxRequest = 0x21;

// FPGetReceiptData's own text for an answer without data.
constexpr DriverError kReceiptDataNoData = {102,
                                            {
                                                "Data from fiscal printer didn''t receive!",
                                                texts::kNoData.text.ru,
                                                texts::kNoData.text.uk,
                                            }};

int PaymentForms(const Driver& d) {
  return d.traits().last_payment_form + 1;
}

// Four decimal digits as two BCD bytes, the low pair first (34 12 is 1234).
std::int32_t BcdCounter(AnswerReader& r) {
  const unsigned low = r.Bcd();
  return static_cast<std::int32_t>(r.Bcd() * 100 + low);
}

// One half of the day totals: receipts, turnover per group and per form, markups, discounts, cash.
void ReadHalf(AnswerReader& r, int forms, std::int32_t& receipts, Money (&groups)[kTaxGroups],
              Money (&by_form)[kMostPaymentForms], Money& markups, Money& discounts, Money& cash) {
  receipts = BcdCounter(r);
  for (Money& g : groups) g = r.Money40();
  for (int f = 0; f < forms; ++f) by_form[f] = r.Money40();
  markups = r.Money40();
  discounts = r.Money40();
  cash = r.Money40();
}

std::optional<ReceiptTotals> ReadReceiptBlock(Driver& d, const QueryRules& rules) {
  const int forms = PaymentForms(d);
  const auto read = [forms](AnswerReader& r, ReceiptTotals& t) {
    for (std::int32_t& g : t.Groups) g = static_cast<std::int32_t>(r.UIntLE(4));
    for (int f = 0; f < forms; ++f) t.Forms[f] = static_cast<std::int32_t>(r.UIntLE(4));
  };
  return Query<ReceiptTotals>(d, Command(kReceiptTotalsRequest), read, rules);
}

}  // namespace

std::optional<DayTotals> ReadDayTotals(Driver& d) {
  const int forms = PaymentForms(d);
  return Query<DayTotals>(d, Command(kDayTotalsRequest), [forms](AnswerReader& r, DayTotals& t) {
    ReadHalf(r, forms, t.SaleReceipts, t.SaleGroups, t.SaleForms, t.SaleMarkups, t.SaleDiscounts, t.CashIn);
    ReadHalf(r, forms, t.RefundReceipts, t.RefundGroups, t.RefundForms, t.RefundMarkups, t.RefundDiscounts,
             t.CashOut);
  });
}

DayTotals& HeldDayReport(Driver& d) {
  return d.held().totals.day_report;
}

bool FPReadDayReport(Driver& d) {
  const auto totals = ReadDayTotals(d);
  if (!totals) return false;
  HeldDayReport(d) = *totals;
  return true;
}

std::optional<ReceiptTotals> ReadReceiptTotals(Driver& d) {
  return ReadReceiptBlock(d, {});
}

ReceiptTotals& HeldReceiptTotals(Driver& d) {
  return d.held().totals.receipt_totals;
}

bool FPGetReceiptData(Driver& d) {
  const auto totals = ReadReceiptBlock(d, {.no_data = &kReceiptDataNoData});
  if (!totals) return false;
  HeldReceiptTotals(d) = *totals;
  return true;
}

// The five bytes are read whole; the newer classes' Ex form shows their low four.
std::optional<DrawerCash> ReadDrawerCash(Driver& d) {
  return Query<DrawerCash>(
      d, Command(kMoneyInBoxRequest), [](AnswerReader& r, DrawerCash& c) { c.Cash = r.Money40(); },
      {.more_allowed = true});
}

ReceiptValues& HeldReceipt(Driver& d) {
  return d.held().totals.receipt;
}

void ClearReceipt(ReceiptValues& r) {
  r = ReceiptValues{};
}

}  // namespace zorfp
