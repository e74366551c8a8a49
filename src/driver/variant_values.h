// The values members keep between calls, one set per protocol variant, shared by every driver
// object of that variant (Driver::held()). Each area keeps its own struct, in driver/held_<area>.h.
#pragma once

#include "driver/held_status.h"
#include "driver/held_taxes.h"
#include "driver/held_totals.h"

namespace zorfp {

struct VariantValues {
  StatusValues status;
  TotalsValues totals;
  TaxValues taxes;
};

}  // namespace zorfp
