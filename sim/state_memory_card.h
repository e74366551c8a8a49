// The printer's memory card (05-02, 05-03): sectors of 512 bytes holding a copy of each Z report
// (model_memory_card.cpp). The first 8 bytes of a sector are its own header; a report's 12-byte
// records run from byte 8 of its first sector on through the following sectors.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "sim/bytes.h"
#include "sim/json.h"
#include "sim/state_reports.h"

namespace zorfp::sim {

inline constexpr std::size_t kCardSectorSize = 512;
inline constexpr std::size_t kCardSectorHeader = 8;
inline constexpr std::size_t kCardSectorData = kCardSectorSize - kCardSectorHeader;
inline constexpr std::size_t kCardRecordSize = 12;

struct CardReport {
  std::uint16_t number = 0;
  DayDate date;
  std::uint32_t first_sector = 0;
  std::uint16_t records = 0;
};

struct MemoryCardState {
  bool present = true;
  bool failing = false;             // every access answers "card error"
  std::uint32_t sector_count = 4096;  // 2 MiB
  std::uint32_t next_free_sector = 1;  // sector 0 is the card's own
  std::map<std::uint32_t, std::array<Byte, kCardSectorSize>> sectors;  // written ones only
  std::vector<CardReport> reports;
};

struct PrinterModel;
struct FiscalDayRecord;

// The card's refusals on 05-02 and 05-03.
inline constexpr Byte kCardMissing = 47;
inline constexpr Byte kCardReportNotFound = 48;
inline constexpr Byte kCardFull = 51;
inline constexpr Byte kCardFailure = 52;

// The records a Z report leaves on the card: a head (number, date, receipt counts), then one
// record per tax group for sales and one for refunds.
Bytes ZReportRecords(const FiscalDayRecord& r);
bool CardHasRoom(const PrinterModel& m, std::size_t records);
// Writes `records` (a whole number of 12-byte records) as report `number` into the next free
// sectors. Tests seed a card with it; false when the card has no room.
bool StoreCardReport(PrinterModel& m, std::uint16_t number, const DayDate& date, std::span<const Byte> records);
// A card with no room left.
void FillCard(PrinterModel& m);
// The report's records as they lie on the card, read back from its sectors.
Bytes CardReportBytes(const PrinterModel& m, const CardReport& r);
void WriteCardJson(const PrinterModel& m, Json& j);

}  // namespace zorfp::sim
