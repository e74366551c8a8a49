// What the totals members keep between calls, and the blocks of the day and receipt totals.
#pragma once

#include <cstdint>

#include "errors/encodings.h"

namespace zorfp {

// Written by the item, payment and discount commands; read back without printer traffic.
struct ReceiptValues {
  std::int64_t ReceiptCost = 0;
  std::int64_t ReceiptTotal = 0;
  std::int32_t Balance = 0;
  bool BalanceIsChange = false;  // the balance is change to hand out, not a sum still to pay
  std::int64_t DiscountSum = 0;
};

inline constexpr int kTaxGroups = 6;  // A to F
inline constexpr int kMostPaymentForms = 10;

// The day totals (answer to command 0x2A): for sales, then for refunds. The payment forms are
// card, credit, check, cash and, on EP-06, forms 5 to 10.
struct DayTotals {
  std::int32_t SaleReceipts = 0;
  Money SaleGroups[kTaxGroups];
  Money SaleForms[kMostPaymentForms];
  Money SaleMarkups, SaleDiscounts;
  Money CashIn;  // advances put into the drawer
  std::int32_t RefundReceipts = 0;
  Money RefundGroups[kTaxGroups];
  Money RefundForms[kMostPaymentForms];
  Money RefundMarkups, RefundDiscounts;
  Money CashOut;  // payments taken out of the drawer
};

// The open receipt's turnover (answer to command 0x2B), per tax group and per payment form.
struct ReceiptTotals {
  std::int32_t Groups[kTaxGroups] = {};
  std::int32_t Forms[kMostPaymentForms] = {};
};

struct TotalsValues {
  ReceiptValues receipt;
  DayTotals day_report;         // FPReadDayReport (05-02, 05-03)
  ReceiptTotals receipt_totals;  // FPGetReceiptData (05-02, 05-03)
};

}  // namespace zorfp
