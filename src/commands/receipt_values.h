// The receipt values of the open receipt: written by the item, payment and discount commands of
// the newer classes, one set per protocol variant, read back without printer traffic.
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace zorfp {

ReceiptValues& Receipt(Driver& d);

// A closed or cancelled receipt: cost, total, balance and discount sum 0, no change to give.
void ClearReceipt(ReceiptValues& r);

std::int32_t GetCheckCost(Driver& d);
std::int32_t GetCheckTotal(Driver& d);
std::int32_t GetBalance(Driver& d);
bool GetBalanceType(Driver& d);  // true: the balance is change to hand out
std::int32_t GetDiscountSum(Driver& d);

}  // namespace zorfp
