// What the printer keeps about closed days: the Z report counter and date, the fiscal memory's
// day records, the reports password and the electronic journal (model_reports.cpp,
// model_journal.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>


namespace zorfp::sim {

struct DayDate {
  int year = 2000;
  int month = 1;
  int day = 1;
  bool operator==(const DayDate&) const = default;
  auto operator<=>(const DayDate&) const = default;
};

// One Z report as the fiscal memory keeps it.
struct FiscalDayRecord {
  std::uint16_t number = 0;
  DayDate date;
  std::uint32_t sale_receipts = 0;
  std::uint32_t refund_receipts = 0;
  std::array<std::int64_t, 6> sale_turnover{};
  std::array<std::int64_t, 6> refund_turnover{};
};

// The electronic copy of the control tape: every receipt and report is a record.
struct ElectronicJournal {
  std::uint32_t first_record = 0;  // 0 while empty
  std::uint32_t last_record = 0;
  std::uint32_t capacity_bytes = 4u << 20;
  std::uint32_t used_bytes = 0;
  std::uint16_t begin_address = 0x0400;  // EP-06's journal locations
  std::uint16_t end_address = 0x0400;
  std::uint32_t direct_last_record = 0;
};

inline constexpr std::uint32_t kJournalRecordBytes = 256;

struct ReportsState {
  std::uint16_t next_z_number = 1;   // at 0x0037 of the register page
  std::optional<DayDate> last_z;   // at 0x0169; zeros until the first Z report
  std::vector<FiscalDayRecord> fiscal_memory;
  ElectronicJournal journal;
  std::uint32_t max_items = 10000;    // capacity query (05-03)
  std::uint32_t max_records = 65535;
};

}  // namespace zorfp::sim
