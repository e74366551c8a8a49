// The receipt the printer is building, and the arithmetic over it.
//
// A receipt holds items (each with at most one discount or markup of its own), discounts and
// markups on the whole receipt, and the payments taken. Every discount is turned into a fixed sum
// when it is given, so later items never change it. The receipt stays in the model after it is
// closed or cancelled, for the state dump, until the next one opens.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/bytes.h"
#include "sim/tax_table.h"

namespace zorfp::sim {

enum class ReceiptKind : std::uint8_t { kSale, kRefund };
enum class ReceiptState : std::uint8_t { kNone, kOpen, kClosed, kCancelled };

inline constexpr int kMaxPaymentForms = 10;
inline constexpr int kCashForm = 3;  // the one form that gives change

using GroupAmounts = std::array<std::int64_t, kTaxGroups>;

struct Adjustment {
  bool discount = false;  // else a markup
  bool relative = false;  // `value` in hundredths of a percent, else a sum
  std::uint32_t value = 0;
  std::int64_t amount = 0;  // what it does to the total: negative for a discount
  Cp866Text comment;
};

struct ReceiptItem {
  Cp866Text name;
  bool name_from_memory = false;
  std::uint32_t quantity = 0;
  int decimals = 0;  // decimal places of the quantity
  bool single_piece = false;
  bool ean13 = false;
  std::int64_t price = 0;
  int tax_group = 0;
  std::uint64_t code = 0;
  std::int64_t cost = 0;  // quantity x price, rounded
  std::optional<Adjustment> adjustment;

  std::int64_t Net() const { return cost + (adjustment ? adjustment->amount : 0); }
};

struct ReceiptAdjustment {
  Adjustment adjustment;
  GroupAmounts by_group{};      // the sum spread over the tax groups in proportion to their turnover
  std::size_t after_items = 0;  // how many items the receipt had when it was given
};

struct Payment {
  int form = 0;
  std::int64_t amount = 0;
  bool fiscal = true;
  Cp866Text info;  // information line of the older payment command
};

struct Receipt {
  ReceiptState state = ReceiptState::kNone;
  ReceiptKind kind = ReceiptKind::kSale;
  std::uint32_t number = 0;  // given when it closes
  std::vector<ReceiptItem> items;
  std::vector<ReceiptAdjustment> adjustments;
  std::vector<Payment> payments;
  std::int64_t change = 0;

  bool open() const { return state == ReceiptState::kOpen; }
  bool payment_begun() const { return open() && !payments.empty(); }
  // The last entry is an item (no receipt discount after it), so it can still be changed.
  bool LastItemIsLastEntry() const {
    return !items.empty() && (adjustments.empty() || adjustments.back().after_items < items.size());
  }
  std::int64_t Paid() const;
  std::int64_t PaidIn(int form) const;
};

// What a receipt comes to, with the tax table in force.
struct ReceiptSums {
  GroupAmounts turnover{};    // per group, after discounts and markups, with added tax
  GroupAmounts tax{};         // per group: included in the turnover, or added to it
  std::int64_t subtotal = 0;  // before added tax
  std::int64_t total = 0;
};
ReceiptSums Sums(const Receipt& r, const TaxTable& t, const VariantTraits& v, bool taxes_added);

// Per-group turnover of the items and adjustments, before added tax.
GroupAmounts NetByGroup(const Receipt& r);

// Spreads `amount` over the groups in proportion to their positive turnover; the rounding rest goes
// to the largest group.
GroupAmounts Spread(std::int64_t amount, const GroupAmounts& turnover);

// quantity x price with the quantity's decimal places, rounded halves away from zero.
std::int64_t ItemCost(std::uint32_t quantity, int decimals, std::int64_t price);

// The sum of a percentage (hundredths of a percent) of `base`, rounded.
std::int64_t PercentOf(std::int64_t base, std::uint32_t hundredths);

}  // namespace zorfp::sim
