// The printer's tax table: the programmed rates of the tax groups, and the tax they charge.
//
// Groups are numbered 0 to 5 for A to F, as the item command's tax byte (0x80 + group) names them.
// Rates are in hundredths of a percent. Where the table has five programmable rates (A to E), F is
// the untaxed group and always open; on 08-01 all six are programmable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/bytes.h"
#include "sim/variant.h"

namespace zorfp::sim {

inline constexpr int kTaxGroups = 6;

struct TaxTable {
  int count = 3;  // programmed rates, from A on
  std::array<std::uint16_t, kTaxGroups> rates = {2000, 700, 0, 0, 0, 0};
  // Additional rates of mixed taxes, kept as the host sent them; EP-06 keeps one for F as well.
  // The receipts charge the base rates.
  bool mixed = false;
  std::array<std::uint16_t, kTaxGroups> extra = {};
  int decimals = 2;  // EP-01, 08-01: decimal digits of money amounts, programmed with the rates
  int programmed_day = 15;  // date the table was programmed
  int programmed_month = 1;
  int programmed_year = 2024;
};

// The rate of a group items may be registered in; nothing for a group that is not programmed (or
// not a group at all). The untaxed group has rate 0.
std::optional<std::uint16_t> GroupRate(const TaxTable& t, const VariantTraits& v, int group);

// Whether the group carries tax and is shown with its rate on the receipt.
bool IsTaxedGroup(const TaxTable& t, const VariantTraits& v, int group);

// Tax in a turnover whose prices include it, and tax added on top of a turnover; rounded to the
// nearest smallest unit, halves away from zero.
std::int64_t IncludedTax(std::int64_t turnover, std::uint16_t rate);
std::int64_t AddedTax(std::int64_t turnover, std::uint16_t rate);

// Cyrillic letter of a group as the receipt prints it (А Б В Г Д Е), code page 866.
char GroupLetter(int group);

// Rounds numerator / denominator (denominator > 0) to the nearest integer, halves away from zero.
std::int64_t RoundedDiv(std::int64_t numerator, std::int64_t denominator);

}  // namespace zorfp::sim
