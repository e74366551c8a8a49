#include "sim/tax_table.h"

namespace zorfp::sim {

std::optional<std::uint16_t> GroupRate(const TaxTable& t, const VariantTraits& v, int group) {
  if (group < 0 || group >= kTaxGroups) return std::nullopt;
  if (group >= v.tax_rate_slots) return std::uint16_t{0};  // the untaxed group
  if (group >= t.count) return std::nullopt;
  return t.rates[static_cast<std::size_t>(group)];
}

bool IsTaxedGroup(const TaxTable& t, const VariantTraits& v, int group) {
  return group < v.tax_rate_slots && GroupRate(t, v, group).has_value();
}

std::int64_t RoundedDiv(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

std::int64_t IncludedTax(std::int64_t turnover, std::uint16_t rate) {
  return RoundedDiv(turnover * rate, 10000 + static_cast<std::int64_t>(rate));
}

std::int64_t AddedTax(std::int64_t turnover, std::uint16_t rate) {
  return RoundedDiv(turnover * rate, 10000);
}

char GroupLetter(int group) {
  // А Б В Г Д Е in code page 866.
  static constexpr char kLetters[kTaxGroups] = {'\x80', '\x81', '\x82', '\x83', '\x84', '\x85'};
  return group >= 0 && group < kTaxGroups ? kLetters[group] : '?';
}

}  // namespace zorfp::sim
