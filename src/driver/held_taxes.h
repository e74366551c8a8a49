// The tax table as the tax members read it (the tax query 0x2C and the printer's memory), and the
// tax properties of 05-02 and 05-03, which FPGetTaxes fills and FPSetTaxes sends.
#pragma once

#include <cstdint>

#include "dates/bcd.h"
#include "link/bytes.h"

namespace zorfp {

inline constexpr int kTaxRates = 5;  // groups A to E carry a programmable rate

// One reading of the table. Rates are in hundredths of a percent; additional rates are 0 while
// mixed taxes are off.
struct TaxBlock {
  Byte Count = 0;
  BcdDate ProgrammedOn;  // tax query only
  Byte TaxType = 0;      // ETaxType: 1 when tax is added to the price
  bool MixedTaxes = false;
  std::int32_t Base[kTaxRates] = {};
  std::int32_t Extra[kTaxRates] = {};
  std::int32_t ExtraF = 0;  // EP-06: the additional rate of group F
};

// The tax properties: one set per class, written by the client and by FPGetTaxes.
struct TaxValues {
  std::uint16_t Tax[kTaxRates] = {};
  std::uint16_t ExtTax[kTaxRates] = {};
  Byte TaxCount = 0;
  Byte TaxType = 0;
  bool ProgExtTax = false;
  double TaxDate = 0;
};

}  // namespace zorfp
