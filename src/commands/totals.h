// Counters and totals: the receipt values the item, payment and discount commands keep (one set
// per protocol variant, read back without printer traffic).
#pragma once

#include "driver/driver.h"

namespace zorfp {

ReceiptValues& HeldReceipt(Driver& d);

// A closed or cancelled receipt: cost, total, balance and discount sum 0, no change to give.
void ClearReceipt(ReceiptValues& r);

}  // namespace zorfp
