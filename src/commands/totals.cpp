#include "commands/totals.h"

#include <string>
#include <utility>

#include "commands/wire.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kDayTotalsRequest = 0x2A;
constexpr Byte kReceiptTotalsRequest = 0x2B;
constexpr Byte kMoneyInBoxRequest = 0x21;
constexpr Byte kMemoryRead = 0x1C;
constexpr Byte kRegisterArea = 0x10;
constexpr Byte kCounterSize = 2;
constexpr Byte kRegisterSize = 5;
constexpr Byte kCancellationsSize = 14;

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

Command MemoryRead(std::uint16_t address, Byte length) {
  Command c(kMemoryRead);
  c.UIntLE(address, 2).U8(kRegisterArea).U8(length);
  return c;
}

// `length` bytes at `address`, read with `read` after the answer is judged as `judge` says.
template <typename T, typename Read>
std::optional<T> QueryMemory(Driver& d, std::uint16_t address, Byte length, Judge judge, Read&& read) {
  return Query<T>(d, MemoryRead(address, length), std::forward<Read>(read),
                  {.judge = judge, .more_allowed = true});
}

}  // namespace

std::optional<DayCounter> ReadCounterAt(Driver& d, std::uint16_t address) {
  if (d.traits().older_family) {
    return QueryMemory<DayCounter>(d, address, kCounterSize, Judge::kEvaluate,
                                   [](AnswerReader& r, DayCounter& c) { c.Count = BcdCounter(r); });
  }
  return QueryMemory<DayCounter>(
      d, address, kCounterSize, Judge::kReportOnly,
      [](AnswerReader& r, DayCounter& c) { c.Count = static_cast<std::int32_t>(r.UIntLE(kCounterSize)); });
}

std::optional<GroupRegisters> ReadGroupRegistersAt(Driver& d, std::uint16_t address) {
  return QueryMemory<GroupRegisters>(d, address, kRegisterSize * kTaxGroups, Judge::kUnjudged,
                                     [](AnswerReader& r, GroupRegisters& g) {
                                       for (Money& m : g.Groups) m = r.Money40();
                                     });
}

AnsiString GroupSumText(Driver& d, const GroupRegisters& r) {
  std::uint64_t sum = 0;
  for (const Money& m : r.Groups) sum += m.value;
  return ClientTextOut(std::to_string(sum), d.module().settings.CP866);
}

std::int32_t GroupSum32(Driver&, const GroupRegisters& r) {
  std::uint32_t sum = 0;
  for (const Money& m : r.Groups) sum += static_cast<std::uint32_t>(m.value);
  return static_cast<std::int32_t>(sum);
}

std::optional<Cancellations> ReadCancellationsAt(Driver& d, std::uint16_t address) {
  return QueryMemory<Cancellations>(d, address, kCancellationsSize, Judge::kEvaluate,
                                    [](AnswerReader& r, Cancellations& c) {
                                      c.SaleCount = static_cast<std::int32_t>(r.UIntLE(2));
                                      c.SaleSum = r.Money40();
                                      c.RefundCount = static_cast<std::int32_t>(r.UIntLE(2));
                                      c.RefundSum = r.Money40();
                                    });
}

std::optional<MoneyRegister> ReadMoneyRegisterAt(Driver& d, std::uint16_t address) {
  return QueryMemory<MoneyRegister>(d, address, kRegisterSize, Judge::kEvaluate,
                                    [](AnswerReader& r, MoneyRegister& m) { m.Value = r.Money40(); });
}

namespace {

// The six registers from `first` on, one read each; the first failure ends the sum.
std::optional<std::uint32_t> DaySumOneByOne(Driver& d, std::uint16_t first) {
  std::uint32_t sum = 0;
  for (int g = 0; g < kTaxGroups; ++g) {
    const auto r = ReadMoneyRegisterAt(d, static_cast<std::uint16_t>(first + g * kRegisterSize));
    if (!r) return std::nullopt;
    sum += static_cast<std::uint32_t>(r->Value.value);
  }
  return sum;
}

}  // namespace

std::int32_t FPGetDaySumSale(Driver& d) {
  return static_cast<std::int32_t>(DaySumOneByOne(d, kSaleGroupsAddress).value_or(0));
}

std::int32_t FPGetDaySumPay(Driver& d) {
  return static_cast<std::int32_t>(DaySumOneByOne(d, kRefundGroupsAddress).value_or(0));
}

std::int32_t GetDayTimeTurnByCash(Driver& d) {
  const auto sales = DaySumOneByOne(d, kSaleGroupsAddress);
  if (!sales) return 0;
  std::uint32_t cash = *sales;
  for (std::uint16_t address : {kSaleCardAddress, kSaleCheckAddress, kSaleCreditAddress}) {
    const auto r = ReadMoneyRegisterAt(d, address);
    if (!r) return 0;
    cash -= static_cast<std::uint32_t>(r->Value.value);
  }
  return static_cast<std::int32_t>(cash);
}

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
