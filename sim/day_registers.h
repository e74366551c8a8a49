// What the printer adds up over the day (until a Z report clears it), and the cash in the drawer.
//
// Registers are the printer's five-byte money registers; they are kept signed here so that a group
// that only ever saw negative items reads back as the device would wrap it.
#pragma once

#include <array>
#include <cstdint>

#include "sim/receipt.h"
#include "sim/tax_table.h"

namespace zorfp::sim {

struct CancelCount {
  std::uint32_t count = 0;
  std::int64_t sum = 0;
};

// One half of the day: sale receipts, or refund receipts.
struct DayHalf {
  std::uint32_t receipts = 0;  // closed receipts
  GroupAmounts turnover_by_group{};
  std::array<std::int64_t, kMaxPaymentForms> by_payment_form{};  // net of the change given
  std::int64_t markups = 0;
  std::int64_t discounts = 0;  // as a positive sum
  CancelCount cancelled_receipts;
  CancelCount cancelled_items;
};

struct DayRegisters {
  DayHalf sales;
  DayHalf refunds;
  std::int64_t cash_in = 0;   // service cash put into the drawer
  std::int64_t cash_out = 0;  // and taken out of it

  DayHalf& Of(ReceiptKind k) { return k == ReceiptKind::kSale ? sales : refunds; }
  const DayHalf& Of(ReceiptKind k) const { return k == ReceiptKind::kSale ? sales : refunds; }
};

}  // namespace zorfp::sim
