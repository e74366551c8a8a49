// Counters and totals: the day totals (command 0x2A), the open receipt's totals (0x2B) and the
// cash in the drawer (0x21), read afresh by the properties of the newer classes and kept by
// FPReadDayReport and FPGetReceiptData (05-02, 05-03); and the receipt values the item, payment
// and discount commands keep. The members are bindings over these (server/bind/totals.cpp).
#pragma once

#include <optional>

#include "driver/driver.h"

namespace zorfp {

// A fresh block of the day totals: exactly 134 bytes (194 on EP-06, with ten payment forms), else
// 102 without data and 103 for any other length. nullopt also when the printer refuses.
std::optional<DayTotals> ReadDayTotals(Driver& d);
// The same block kept: FPReadDayReport replaces it only with a block that decoded whole.
DayTotals& HeldDayReport(Driver& d);
bool FPReadDayReport(Driver& d);

// The open receipt's totals: exactly 40 bytes (64 on EP-06).
std::optional<ReceiptTotals> ReadReceiptTotals(Driver& d);
ReceiptTotals& HeldReceiptTotals(Driver& d);
bool FPGetReceiptData(Driver& d);

// The cash in the drawer, a money register.
struct DrawerCash {
  Money Cash;
};
std::optional<DrawerCash> ReadDrawerCash(Driver& d);

ReceiptValues& HeldReceipt(Driver& d);
// A closed or cancelled receipt: cost, total, balance and discount sum 0, no change to give.
void ClearReceipt(ReceiptValues& r);

}  // namespace zorfp
