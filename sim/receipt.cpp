#include "sim/receipt.h"

#include <algorithm>

namespace zorfp::sim {

std::int64_t Receipt::Paid() const {
  std::int64_t sum = 0;
  for (const Payment& p : payments) sum += p.amount;
  return sum;
}

std::int64_t Receipt::PaidIn(int form) const {
  std::int64_t sum = 0;
  for (const Payment& p : payments) sum += p.form == form ? p.amount : 0;
  return sum;
}

GroupAmounts NetByGroup(const Receipt& r) {
  GroupAmounts by_group{};
  for (const ReceiptItem& item : r.items) by_group[static_cast<std::size_t>(item.tax_group)] += item.Net();
  for (const ReceiptAdjustment& a : r.adjustments) {
    for (std::size_t g = 0; g < by_group.size(); ++g) by_group[g] += a.by_group[g];
  }
  return by_group;
}

ReceiptSums Sums(const Receipt& r, const TaxTable& t, const VariantTraits& v, bool taxes_added) {
  ReceiptSums s;
  s.turnover = NetByGroup(r);
  for (int g = 0; g < kTaxGroups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    s.subtotal += s.turnover[i];
    const std::uint16_t rate = GroupRate(t, v, g).value_or(0);
    s.tax[i] = taxes_added ? AddedTax(s.turnover[i], rate) : IncludedTax(s.turnover[i], rate);
    if (taxes_added) s.turnover[i] += s.tax[i];
    s.total += s.turnover[i];
  }
  return s;
}

GroupAmounts Spread(std::int64_t amount, const GroupAmounts& turnover) {
  GroupAmounts out{};
  std::int64_t base = 0;
  std::size_t largest = 0;
  for (std::size_t g = 0; g < turnover.size(); ++g) {
    if (turnover[g] > 0) base += turnover[g];
    if (turnover[g] > turnover[largest]) largest = g;
  }
  if (base <= 0) {
    out[largest] = amount;
    return out;
  }
  std::int64_t spread = 0;
  for (std::size_t g = 0; g < turnover.size(); ++g) {
    if (turnover[g] <= 0) continue;
    // Truncated toward zero, so the parts never add up to more than the amount.
    out[g] = amount * turnover[g] / base;  // both below 2^31: no overflow
    spread += out[g];
  }
  out[largest] += amount - spread;
  return out;
}

std::int64_t ItemCost(std::uint32_t quantity, int decimals, std::int64_t price) {
  std::int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  return RoundedDiv(static_cast<std::int64_t>(quantity) * price, scale);
}

std::int64_t PercentOf(std::int64_t base, std::uint32_t hundredths) {
  return RoundedDiv(base * static_cast<std::int64_t>(hundredths), 10000);
}

}  // namespace zorfp::sim
