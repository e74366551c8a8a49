#include "commands/receipt_values.h"

namespace zorfp {

ReceiptValues& Receipt(Driver& d) {
  return d.module().values[Index(d.traits().id)].receipt;
}

void ClearReceipt(ReceiptValues& r) {
  r = ReceiptValues{};
}

// The interface gives these as 32-bit integers: a total above 2^31 - 1 cannot be shown and wraps.
std::int32_t GetCheckCost(Driver& d) {
  return static_cast<std::int32_t>(Receipt(d).ReceiptCost);
}
std::int32_t GetCheckTotal(Driver& d) {
  return static_cast<std::int32_t>(Receipt(d).ReceiptTotal);
}
std::int32_t GetBalance(Driver& d) {
  return Receipt(d).Balance;
}
bool GetBalanceType(Driver& d) {
  return Receipt(d).BalanceIsChange;
}
std::int32_t GetDiscountSum(Driver& d) {
  return static_cast<std::int32_t>(Receipt(d).DiscountSum);
}

}  // namespace zorfp
