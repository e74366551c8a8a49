// The values members keep between calls, one set per protocol variant, shared by every driver
// object of that variant (Driver::held()). Each area keeps its own struct, in driver/held_<area>.h.
#pragma once

#include "driver/held_clock.h"
#include "driver/held_flags.h"
#include "driver/held_articles.h"
#include "driver/held_programming.h"
#include "driver/held_modem.h"
#include "driver/held_printing.h"
#include "driver/held_journal.h"
#include "driver/held_memory_card.h"
#include "driver/held_reports.h"
#include "driver/held_status.h"
#include "driver/held_taxes.h"
#include "driver/held_totals.h"

namespace zorfp {

struct VariantValues {
  StatusValues status;
  TotalsValues totals;
  ClockValues clock;
  FlagsValues flags;
  ProgrammingValues programming;
  ArticleValues articles;
  PrintingValues printing;
  ModemValues modem;  // one record for the library: only the 05-03 slot is used
  TaxValues taxes;
  ReportsValues reports;
  JournalValues journal;
  MemoryCardValues memory_card;
};

}  // namespace zorfp
