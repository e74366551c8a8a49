// What the fiscal-memory and electronic-journal members keep between calls.
#pragma once

#include <cstdint>

namespace zorfp {

// One Z report's record in the fiscal memory (FPGetFMDay, 05-02 and 05-03). Turnovers keep their
// low 32 bits, as the properties return them.
struct FiscalDayRecord {
  double Date = 0;  // automation DATE; 0 until a record has been read
  std::int32_t SaleReceipts = 0;
  std::int32_t RefundReceipts = 0;
  std::int32_t SaleTurnover[6] = {};
  std::int32_t RefundTurnover[6] = {};
};

// The electronic journal's state as FPUpdateStatusKLEF read it (05-03).
struct JournalState {
  std::int32_t FirstPID = 0;
  std::int32_t LastPID = 0;
  std::int32_t FreeBytes = 0;
};

struct JournalValues {
  FiscalDayRecord fm_day;
  JournalState klef;
};

}  // namespace zorfp
