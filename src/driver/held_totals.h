// What the totals members keep between calls.
#pragma once

#include <cstdint>

namespace zorfp {

// Written by the item, payment and discount commands; read back without printer traffic.
struct ReceiptValues {
  std::int64_t ReceiptCost = 0;
  std::int64_t ReceiptTotal = 0;
  std::int32_t Balance = 0;
  bool BalanceIsChange = false;  // the balance is change to hand out, not a sum still to pay
  std::int64_t DiscountSum = 0;
};

struct TotalsValues {
  ReceiptValues receipt;
};

}  // namespace zorfp
