// Counters and totals: the day totals (command 0x2A), the open receipt's totals (0x2B) and the
// cash in the drawer (0x21), read afresh by the properties of the newer classes and kept by
// FPReadDayReport and FPGetReceiptData (05-02, 05-03); and the receipt values the item, payment
// and discount commands keep. The members are bindings over these (server/bind/totals.cpp).
#pragma once

#include <cstdint>
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

// Registers read straight from the printer's memory (command 0x1C, area 0x10).
inline constexpr std::uint16_t kSaleCounterAddress = 0x301B;
inline constexpr std::uint16_t kSaleGroupsAddress = 0x301D;
inline constexpr std::uint16_t kRefundCounterAddress = 0x30AB;
inline constexpr std::uint16_t kRefundGroupsAddress = 0x30AD;
inline constexpr std::uint16_t kReceiptCancelsAddress = 0x2F74;
inline constexpr std::uint16_t kItemCancelsAddress = 0x2F82;
// EP-01 only.
inline constexpr std::uint16_t kSaleCardAddress = 0x303B;
inline constexpr std::uint16_t kSaleCreditAddress = 0x3040;
inline constexpr std::uint16_t kSaleCheckAddress = 0x3045;
inline constexpr std::uint16_t kCashInAddress = 0x305A;
inline constexpr std::uint16_t kCashOutAddress = 0x30D5;

// A day receipt counter: binary on the newer classes, whatever the printer says of the read (it
// is judged and reported, then used); two BCD bytes, 100 x high + low, on the older ones.
struct DayCounter {
  std::int32_t Count = 0;
};
std::optional<DayCounter> ReadCounterAt(Driver& d, std::uint16_t address);
template <std::uint16_t Address>
std::optional<DayCounter> ReadCounter(Driver& d) {
  return ReadCounterAt(d, Address);
}

// The six tax-group turnover registers, read whatever the printer's status says.
struct GroupRegisters {
  Money Groups[kTaxGroups];
};
std::optional<GroupRegisters> ReadGroupRegistersAt(Driver& d, std::uint16_t address);
template <std::uint16_t Address>
std::optional<GroupRegisters> ReadGroupRegisters(Driver& d) {
  return ReadGroupRegistersAt(d, Address);
}
// Their sum as decimal text, added whole in 64 bits; and the low four bytes of each added in 32
// bits, as the integer forms have always given it.
AnsiString GroupSumText(Driver& d, const GroupRegisters& r);
std::int32_t GroupSum32(Driver& d, const GroupRegisters& r);

// A cancellation block: cancelled sale receipts (or items) and their sum, then refund ones.
struct Cancellations {
  std::int32_t SaleCount = 0;
  Money SaleSum;
  std::int32_t RefundCount = 0;
  Money RefundSum;
};
std::optional<Cancellations> ReadCancellationsAt(Driver& d, std::uint16_t address);
template <std::uint16_t Address>
std::optional<Cancellations> ReadCancellations(Driver& d) {
  return ReadCancellationsAt(d, Address);
}

// One money register (older classes), executed or refused like a command.
struct MoneyRegister {
  Money Value;
};
std::optional<MoneyRegister> ReadMoneyRegisterAt(Driver& d, std::uint16_t address);
template <std::uint16_t Address>
std::optional<MoneyRegister> ReadMoneyRegister(Driver& d) {
  return ReadMoneyRegisterAt(d, Address);
}

// EP-01 and 08-01: the six tax-group registers read one by one, their low four bytes added in 32
// bits; 0 when any read fails.
std::int32_t FPGetDaySumSale(Driver& d);
std::int32_t FPGetDaySumPay(Driver& d);
// EP-01: the day's sales less card, check and credit; 0 when any read fails.
std::int32_t GetDayTimeTurnByCash(Driver& d);

ReceiptValues& HeldReceipt(Driver& d);
// A closed or cancelled receipt: cost, total, balance and discount sum 0, no change to give.
void ClearReceipt(ReceiptValues& r);

}  // namespace zorfp
