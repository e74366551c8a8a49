// The values members keep between calls, one set per protocol variant, shared by every driver
// object of that variant (Driver::held()). Each area keeps its own struct, in driver/held_<area>.h.
#pragma once

#include "driver/held_journal.h"
#include "driver/held_memory_card.h"
#include "driver/held_reports.h"
#include "driver/held_status.h"
#include "driver/held_totals.h"

namespace zorfp {

struct VariantValues {
  StatusValues status;
  TotalsValues totals;
  ReportsValues reports;
  JournalValues journal;
  MemoryCardValues memory_card;
};

}  // namespace zorfp
